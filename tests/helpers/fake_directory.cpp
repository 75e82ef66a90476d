// fake_directory.cpp: a stand-in for the station directory's HTTP API, for the tests.
// Usage: fake_directory ADDRESS PORT FIXTURE LOG [MODE]
// FIXTURE is a JSON array with one station object per line. Answers GET /json/stations/search
// (name: substring ignoring ASCII case; countrycode: exact; tag: one of the comma-separated tags;
// hidebroken=true: lastcheckok 1; is_https=false: url_resolved not https://; order=votes with
// reverse=true: most votes first; limit) and GET /json/url/UUID. Each request is appended to LOG as
// "GET PATH UA=AGENT" before it is answered. MODE: "filter" (default); "all": every station whatever
// the parameters; "invalid": a cut JSON text; "large": a valid answer over 4 MB.
// Prints "ready PORT" once listening (PORT 0: any free port); runs until killed.
#include <algorithm>
#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

struct Station {
    std::string json;   // the object's text as in the fixture
    std::string uuid, name, country, tags, urlResolved;
    long votes = 0;
    int lastCheckOk = 0;
};

void AppendUtf8(std::string *out, unsigned cp)
{
    if (cp < 0x80) *out += (char)cp;
    else if (cp < 0x800) *out += {(char)(0xC0 | cp >> 6), (char)(0x80 | (cp & 0x3F))};
    else if (cp < 0x10000) *out += {(char)(0xE0 | cp >> 12), (char)(0x80 | ((cp >> 6) & 0x3F)), (char)(0x80 | (cp & 0x3F))};
    else *out += {(char)(0xF0 | cp >> 18), (char)(0x80 | ((cp >> 12) & 0x3F)), (char)(0x80 | ((cp >> 6) & 0x3F)),
                  (char)(0x80 | (cp & 0x3F))};
}

// The text or number after "key": in one object's text (no nesting needed for the fixture).
std::string Field(const std::string &object, const std::string &key)
{
    size_t at = object.find("\"" + key + "\"");
    if (at == std::string::npos) return "";
    at = object.find(':', at);
    if (at == std::string::npos) return "";
    at = object.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos) return "";
    if (object[at] != '"') return object.substr(at, object.find_first_of(",}", at) - at);
    std::string value;
    for (size_t i = at + 1; i < object.size() && object[i] != '"'; i++) {
        if (object[i] != '\\' || i + 1 >= object.size()) {
            value += object[i];
        } else if (object[++i] != 'u' || i + 4 >= object.size()) {
            value += object[i];
        } else {   // \uXXXX, a surrogate pair joined, as UTF-8
            unsigned cp = (unsigned)strtoul(object.substr(i + 1, 4).c_str(), nullptr, 16);
            i += 4;
            if (cp >= 0xD800 && cp < 0xDC00 && object.compare(i + 1, 2, "\\u") == 0) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + ((unsigned)strtoul(object.substr(i + 3, 4).c_str(), nullptr, 16) - 0xDC00);
                i += 6;
            }
            AppendUtf8(&value, cp);
        }
    }
    return value;
}

std::string Lower(std::string s)
{
    for (char &c : s) if (c >= 'A' && c <= 'Z') c = (char)(c + 32);
    return s;
}

std::string PercentDecoded(const std::string &s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); i++) {
        if (s[i] == '%' && i + 2 < s.size()) {
            out += (char)strtol(s.substr(i + 1, 2).c_str(), nullptr, 16);
            i += 2;
        } else out += s[i] == '+' ? ' ' : s[i];
    }
    return out;
}

std::string Parameter(const std::string &query, const std::string &key)
{
    size_t at = 0;
    while (at <= query.size()) {
        size_t end = query.find('&', at);
        if (end == std::string::npos) end = query.size();
        std::string pair = query.substr(at, end - at);
        if (pair.compare(0, key.size() + 1, key + "=") == 0) return PercentDecoded(pair.substr(key.size() + 1));
        at = end + 1;
    }
    return "";
}

bool HasTag(const std::string &tags, const std::string &tag)
{
    size_t at = 0;
    while (at <= tags.size()) {
        size_t end = tags.find(',', at);
        if (end == std::string::npos) end = tags.size();
        if (Lower(tags.substr(at, end - at)) == Lower(tag)) return true;
        at = end + 1;
    }
    return false;
}

std::string Search(const std::vector<Station> &all, const std::string &query, const std::string &mode)
{
    std::vector<const Station *> hits;
    std::string name = Lower(Parameter(query, "name")), country = Parameter(query, "countrycode"),
                tag = Parameter(query, "tag");
    for (const Station &s : all) {
        if (mode != "all") {
            if (!name.empty() && Lower(s.name).find(name) == std::string::npos) continue;
            if (!country.empty() && s.country != country) continue;
            if (!tag.empty() && !HasTag(s.tags, tag)) continue;
            if (Parameter(query, "hidebroken") == "true" && s.lastCheckOk != 1) continue;
            if (Parameter(query, "is_https") == "false" && Lower(s.urlResolved).compare(0, 8, "https://") == 0) continue;
        }
        hits.push_back(&s);
    }
    if (mode != "all") {
        if (Parameter(query, "order") == "votes") {
            bool reverse = Parameter(query, "reverse") == "true";
            std::stable_sort(hits.begin(), hits.end(), [reverse](const Station *a, const Station *b) {
                return reverse ? a->votes > b->votes : a->votes < b->votes;
            });
        }
        std::string limit = Parameter(query, "limit");
        if (!limit.empty() && (size_t)atol(limit.c_str()) < hits.size()) hits.resize((size_t)atol(limit.c_str()));
    }
    std::string body = "[";
    for (size_t i = 0; i < hits.size(); i++) body += (i ? ",\n" : "\n") + hits[i]->json;
    return body + "\n]";
}

void Answer(int fd, int status, const std::string &body)
{
    std::string head = "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Not Found") +
                       "\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
                       "\r\nConnection: close\r\n\r\n";
    std::string all = head + body;
    for (size_t sent = 0; sent < all.size();) {
        ssize_t n = send(fd, all.data() + sent, all.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += (size_t)n;
    }
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 5) {
        fprintf(stderr, "usage: %s ADDRESS PORT FIXTURE LOG [filter|all|invalid|large]\n", argv[0]);
        return 2;
    }
    std::string mode = argc > 5 ? argv[5] : "filter";
    std::vector<Station> stations;
    std::ifstream fixture(argv[3]);
    for (std::string line; std::getline(fixture, line);) {
        size_t start = line.find('{'), end = line.rfind('}');
        if (start == std::string::npos || end == std::string::npos) continue;
        Station s;
        s.json = line.substr(start, end - start + 1);
        s.uuid = Field(s.json, "stationuuid");
        s.name = Field(s.json, "name");
        s.country = Field(s.json, "countrycode");
        s.tags = Field(s.json, "tags");
        s.urlResolved = Field(s.json, "url_resolved");
        s.votes = atol(Field(s.json, "votes").c_str());
        s.lastCheckOk = atoi(Field(s.json, "lastcheckok").c_str());
        stations.push_back(s);
    }
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    int on = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in where = {};
    where.sin_family = AF_INET;
    where.sin_port = htons((uint16_t)atoi(argv[2]));
    where.sin_addr.s_addr = inet_addr(argv[1]);
    socklen_t length = sizeof where;
    if (bind(listener, (sockaddr *)&where, sizeof where) != 0 || listen(listener, 16) != 0 ||
        getsockname(listener, (sockaddr *)&where, &length) != 0) {
        fprintf(stderr, "cannot listen on %s:%s\n", argv[1], argv[2]);
        return 1;
    }
    printf("ready %d\n", ntohs(where.sin_port));
    fflush(stdout);
    for (;;) {
        int fd = accept(listener, nullptr, nullptr);
        if (fd < 0) continue;
        timeval limit = {5, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            ssize_t n = recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            request.append(buffer, (size_t)n);
        }
        std::string target = request.substr(0, request.find("\r\n"));
        size_t sp1 = target.find(' '), sp2 = target.rfind(' ');
        std::string path = sp1 != std::string::npos && sp2 > sp1 ? target.substr(sp1 + 1, sp2 - sp1 - 1) : "";
        std::string agent;
        size_t ua = Lower(request).find("\r\nuser-agent:");
        if (ua != std::string::npos) {
            size_t from = request.find_first_not_of(' ', ua + 13), to = request.find("\r\n", ua + 2);
            agent = request.substr(from, to - from);
        }
        {
            std::ofstream log(argv[4], std::ios::app);
            log << "GET " << path << " UA=" << agent << "\n";
        }
        std::string route = path.substr(0, path.find('?'));
        std::string query = path.find('?') == std::string::npos ? "" : path.substr(path.find('?') + 1);
        if (route == "/json/stations/search") {
            if (mode == "invalid") Answer(fd, 200, "[{\"stationuuid\":\"cut\",\"name\":");
            else if (mode == "large") Answer(fd, 200, "[" + std::string(4 * 1024 * 1024 + 16, ' ') + "]");
            else Answer(fd, 200, Search(stations, query, mode));
        } else if (route.compare(0, 10, "/json/url/") == 0) {
            std::string uuid = route.substr(10);
            bool known = std::any_of(stations.begin(), stations.end(), [&](const Station &s) { return s.uuid == uuid; });
            Answer(fd, known ? 200 : 404, known ? "{\"ok\":true,\"message\":\"retrieved station url\"}" : "[]");
        } else {
            Answer(fd, 404, "[]");
        }
        close(fd);
    }
}
