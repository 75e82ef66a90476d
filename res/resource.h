// resource.h: resource and control ids of the program, kept by hand.
#ifndef SETRADIO_RES_RESOURCE_H
#define SETRADIO_RES_RESOURCE_H

// Resources.
#define IDD_MAIN 6
#define IDD_FIND_STATIONS 7
#define IDI_MAIN 1
#define IDR_ACCEL 1
#define IDB_SEND 1
#define IDB_CLOSE 2
// The same strips drawn for 125, 150 and 200 % display scale: the 100 % id plus 10 per step.
#define IDB_SEND_125 11
#define IDB_CLOSE_125 12
#define IDB_SEND_150 21
#define IDB_CLOSE_150 22
#define IDB_SEND_200 31
#define IDB_CLOSE_200 32

// Commands without a control.
#define IDM_HELP 1000
#define IDM_OPEN_SETTINGS 2001
#define IDM_SAVE_SETTINGS 2002
#define IDM_IMPORT_PLAYLIST 2003
#define IDM_EXPORT_PLAYLIST 2004
#define IDM_CHECK_ALL 2005
#define IDM_FIND_STATIONS 2006
#define IDM_FIND_OTHER_ADDRESS 2007

// Controls of the main window, dialog template 6.
#define IDC_MODE_STATIC 90
#define IDC_MODE_DHCP 91
#define IDC_MODE_PPPOE 92
#define IDC_SEARCH 100
#define IDC_DEVICE_LIST 101
#define IDC_LOCALIP 104
#define IDC_SUBNET 105
#define IDC_GATEWAY 106
#define IDC_DNS 107
#define IDC_PLS_URL1 108
#define IDC_PLS_URL2 109
#define IDC_CHANNEL_LIST 110
#define IDC_CHANNEL_ADD 111
#define IDC_CHANNEL_MODIFY 112
#define IDC_CHANNEL_DELETE 113
#define IDC_CHANNEL_NAME 114
#define IDC_CHANNEL_URL 115
#define IDC_CHANNEL_DELETE_ALL 116
#define IDC_SEND 117
#define IDC_SEARCH_PROGRESS 118
#define IDC_LOCALIP_LABEL 119
#define IDC_SUBNET_LABEL 120
#define IDC_GATEWAY_LABEL 121
#define IDC_DNS_LABEL 122
#define IDC_PPPOE_ID_LABEL 123
#define IDC_PPPOE_ID 124
#define IDC_PPPOE_PSW_LABEL 125
#define IDC_PPPOE_PSW 126
// The station search dialog (IDD_FIND_STATIONS).
#define IDC_FIND_NAME 3001
#define IDC_FIND_COUNTRY 3002
#define IDC_FIND_TAG 3003
#define IDC_FIND_SEARCH 3004
#define IDC_FIND_LIST 3005
#define IDC_FIND_ADD 3006
#define IDC_FIND_STATUS 3007
#define IDC_SIZE_GRIP 994
#define IDC_WINDOW_NAME 996

// Window messages and timers of the main window.
#define MSG_DEVICE_READ (0x0400 + 1)
#define MSG_CHECK_RESULT (0x8000 + 1)   // WM_APP + 1: one channel checked; wParam its index, lParam the outcome
#define MSG_FIND_DONE (0x8000 + 2)      // a directory search ended; wParam its serial
#define MSG_FIND_CHECKED (0x8000 + 3)   // one found station checked; wParam its index, lParam the outcome
#define SEARCH_TIMER 1
#define PENDING_TIMER 2
#define SEND_TIMER 3      // device messages still waiting to be sent
#define RECEIVE_TIMER 4   // reception while datagrams keep coming

#endif
