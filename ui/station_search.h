// station_search.h: the station search (방송국 찾기): a modal Unicode dialog that searches the
// station directory on a worker thread, checks each offered address with our probe, and adds the
// selected stations to the ChannelList by the import's rules.
#ifndef SETRADIO_UI_STATION_SEARCH_H
#define SETRADIO_UI_STATION_SEARCH_H

#include "common/platform.h"

#define FIND_STATIONS_MAX 100   // stations a search lists (the directory's limit asked for)

void OnFindStationsCommand(HWND window);   // IDM_FIND_STATIONS: needs a loaded radio
// IDM_FIND_OTHER_ADDRESS: the same dialog searching the selected channel's title; 바꾸기 replaces
// that channel's address with the one selected station's.
void OnFindOtherAddressCommand(HWND window);

#endif
