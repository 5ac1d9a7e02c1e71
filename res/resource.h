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
