// Identifiers of the program's resources: dialogs, controls, pictures, icon.
// Shared by lexinst.rc and the C++ code, so it holds nothing but #defines.
#pragma once

#define IDD_MAINDLG     129  // dictionary information dialog
#define IDI_DICTFILE    201  // icon of dictionary files and of both dialogs
#define IDB_PACKAGE     202  // dictionary package picture
#define IDD_MESSAGEDLG  203  // message dialog
#define IDB_SUCCESS     204  // green badge with a tick
#define IDB_WARNING     205  // red badge with an exclamation mark
#define IDB_INFORMATION 206  // blue badge with a letter i

// The pictures drawn for higher display scales: base id + 100 per step.
#define IDB_PACKAGE_125     302  // 80 x 80 for 125 %
#define IDB_SUCCESS_125     304
#define IDB_WARNING_125     305
#define IDB_INFORMATION_125 306
#define IDB_PACKAGE_150     402  // 96 x 96 for 150 %
#define IDB_SUCCESS_150     404
#define IDB_WARNING_150     405
#define IDB_INFORMATION_150 406
#define IDB_PACKAGE_200     502  // 128 x 128 for 200 %
#define IDB_SUCCESS_200     504
#define IDB_WARNING_200     505
#define IDB_INFORMATION_200 506
#define IDB_PACKAGE_250     602  // 160 x 160 for 250 %
#define IDB_SUCCESS_250     604
#define IDB_WARNING_250     605
#define IDB_INFORMATION_250 606

#define IDC_DICT_NAME         1003
#define IDC_ENTRY_COUNT_LABEL 1004
#define IDC_ENTRY_COUNT       1005
#define IDC_SAMPLE_WORDS      1007
#define IDC_DESCRIPTION       1008
#define IDC_PACKAGE_PICTURE   1009
#define IDC_MESSAGE           1011
#define IDC_MESSAGE_PICTURE   1012
#define IDC_MORE_DICT_LINK    1013
#define IDC_CONTINUE          1014
