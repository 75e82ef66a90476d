// app_columns_test.cpp: list column widths restored from and saved to the settings file.
#include <gtest/gtest.h>
#include <string>
#include "common/platform.h"
#include "winkit/settings_file.h"
#include "app/startup.h"
#include "res/resource.h"
#include "tests/win/test_support.h"
#include "winkit/dialog_items.h"

namespace {

class ColumnsTest : public testing::Test {
protected:
    WCHAR saved_[MAX_PATH];
    void SetUp() override
    {
        UsePrivateSettingsFile("h4_columns.ini", saved_);
    }
    void TearDown() override
    {
        RestoreSettingsFile(saved_);
    }
    void Store(const char *key, const char *value) { WritePrivateProfileStringA("DlgPos", key, value, SettingsPath949().c_str()); }
    std::string Stored(const char *key)
    {
        char value[260];
        GetPrivateProfileStringA("DlgPos", key, "", value, sizeof value, SettingsPath949().c_str());
        return value;
    }
};

int Width(HWND w, int id, int column) { return GetListColumnWidth(w, id, column); }

TEST_F(ColumnsTest, NothingStoredKeepsTemplateWidths)
{
    HWND w = CreateMainWindow();
    EXPECT_EQ(DialogUnitsToPixelsX(100), Width(w, IDC_DEVICE_LIST, 0));
    EXPECT_EQ(DialogUnitsToPixelsX(43), Width(w, IDC_DEVICE_LIST, 1));
    EXPECT_EQ(DialogUnitsToPixelsX(20), Width(w, IDC_CHANNEL_LIST, 0));
    EXPECT_EQ(DialogUnitsToPixelsX(80), Width(w, IDC_CHANNEL_LIST, 1));
    EXPECT_EQ(DialogUnitsToPixelsX(152), Width(w, IDC_CHANNEL_LIST, 2));
    DestroyMainWindow(w);
}

TEST_F(ColumnsTest, TwoNumbersSetOnlyTwoColumns)
{
    Store("SetRadio110", "30 120");
    Store("SetRadio101", "70 40 99");  // extra numbers are ignored
    HWND w = CreateMainWindow();
    EXPECT_EQ(30, Width(w, IDC_CHANNEL_LIST, 0));
    EXPECT_EQ(120, Width(w, IDC_CHANNEL_LIST, 1));
    EXPECT_EQ(DialogUnitsToPixelsX(152), Width(w, IDC_CHANNEL_LIST, 2));
    EXPECT_EQ(70, Width(w, IDC_DEVICE_LIST, 0));
    EXPECT_EQ(40, Width(w, IDC_DEVICE_LIST, 1));
    DestroyMainWindow(w);
}

TEST_F(ColumnsTest, EqualWidthsLeaveFileUntouchedAndWideningRewritesWholeLine)
{
    Store("SetRadio101", "90  50");
    Store("SetRadio110", "50 60 70");
    HWND w = CreateMainWindow();
    SaveColumnWidths(w, IDC_DEVICE_LIST, 2);
    SaveColumnWidths(w, IDC_CHANNEL_LIST, 3);
    EXPECT_EQ("90  50", Stored("SetRadio101"));
    EXPECT_EQ("50 60 70", Stored("SetRadio110"));
    SetListColumnWidth(w, IDC_CHANNEL_LIST, 0, 51);
    SaveColumnWidths(w, IDC_CHANNEL_LIST, 3);
    EXPECT_EQ("51 60 70", Stored("SetRadio110"));
    EXPECT_EQ("90  50", Stored("SetRadio101"));
    DestroyMainWindow(w);
}

// Once the stored text is used up, the last number read stands for the missing ones.
TEST_F(ColumnsTest, SingleStoredNumberComparesAsRepeat)
{
    HWND w = CreateMainWindow();
    for (int c = 0; c < 3; ++c) SetListColumnWidth(w, IDC_CHANNEL_LIST, c, 80);
    Store("SetRadio110", "80");
    SaveColumnWidths(w, IDC_CHANNEL_LIST, 3);
    EXPECT_EQ("80", Stored("SetRadio110"));
    SetListColumnWidth(w, IDC_CHANNEL_LIST, 1, 90);
    SaveColumnWidths(w, IDC_CHANNEL_LIST, 3);
    EXPECT_EQ("80 90 80", Stored("SetRadio110"));
    DestroyMainWindow(w);
}

TEST_F(ColumnsTest, NoStoredValueWritesCurrentWidths)
{
    HWND w = CreateMainWindow();
    SetListColumnWidth(w, IDC_DEVICE_LIST, 0, 111);
    SetListColumnWidth(w, IDC_DEVICE_LIST, 1, 22);
    SaveColumnWidths(w, IDC_DEVICE_LIST, 2);
    EXPECT_EQ("111 22", Stored("SetRadio101"));
    DestroyMainWindow(w);
}

// Tokens that are not numbers, negative widths and absurd widths keep the template width.
TEST_F(ColumnsTest, DamagedWidthsKeepTemplateWidths)
{
    Store("SetRadio110", "abc -5 99999999");
    Store("SetRadio101", "2.5 x7");
    HWND w = CreateMainWindow();
    EXPECT_EQ(DialogUnitsToPixelsX(20), Width(w, IDC_CHANNEL_LIST, 0));
    EXPECT_EQ(DialogUnitsToPixelsX(80), Width(w, IDC_CHANNEL_LIST, 1));
    EXPECT_EQ(DialogUnitsToPixelsX(152), Width(w, IDC_CHANNEL_LIST, 2));
    EXPECT_EQ(3, Width(w, IDC_DEVICE_LIST, 0));  // a decimal point rounds half up
    EXPECT_EQ(DialogUnitsToPixelsX(43), Width(w, IDC_DEVICE_LIST, 1));
    DestroyMainWindow(w);
}

}  // namespace
