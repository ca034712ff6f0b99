// Resource identifiers shared by the templates and the code.
#pragma once

#define IDI_APPLICATION_ICON 101

// Dialog templates
#define IDD_SETTINGS_PAGE 137
#define IDD_INSTALL_GUIDE 139
#define IDD_STATUS_PAGE 142
#define IDD_SUCCESS_PAGE 149
#define IDD_CLIENT_VALIDATOR 172

// Settings page
#define IDC_INSTALL_BUTTON 133
#define IDC_LICENSE_CHECK 134
#define IDC_LICENSE_LABEL 135
#define IDC_SETTINGS_LABEL 136
#define IDC_SETTINGS_ARROW 138
#define IDC_FOLDER_LABEL 140
#define IDC_LANGUAGE_COMBO 141
#define IDC_FOLDER_EDIT 143
#define IDC_BROWSE_BUTTON 148
#define IDC_LICENSE_LINK 152
#define IDC_LANGUAGE_LABEL 174
#define IDC_ASSOCIATION_LABEL 175
#define IDC_ASSOCIATION_COMBO 176

// Status page
#define IDC_STATUS_LABEL 122
#define IDC_PERCENT_LABEL 123
#define IDC_TIME_LABEL 173

// Success page (the start button is IDOK)
#define IDC_LAUNCH_CHECK 150
#define IDC_LAUNCH_LABEL 151

// Client validator
#define IDC_VALIDATOR_PROGRESS 171

// The window class of the wizard, registered at start-up from the system dialog class.
#define KEST_WIZARD_CLASS_NAME L"QORMasterInstallerClassName"
