// The user-interface strings: each text is named by its key and carries its English default,
// used whenever the current language's string file lacks the key.
#pragma once

#include <array>
#include <string_view>

struct UiString {
  std::wstring_view key;
  std::wstring_view text;
};

inline constexpr UiString IDS_INSTALL{L"IDS_INSTALL", L"Install"};
inline constexpr UiString IDS_STATUS_INIT{L"IDS_STATUS_INIT", L"Initializing..."};
inline constexpr UiString IDS_STATUS_CANCELLING{L"IDS_STATUS_CANCELLING", L"Cancelling..."};
inline constexpr UiString IDS_STATUS_DOWNLOADING{L"IDS_STATUS_DOWNLOADING",
                                                 L"Downloading, please wait..."};
inline constexpr UiString IDS_STATUS_INSTALLING{L"IDS_STATUS_INSTALLING",
                                                L"Installing, please wait..."};
inline constexpr UiString IDS_STATUS_FINISHED{L"IDS_STATUS_FINISHED", L"Finished."};
inline constexpr UiString IDS_STATUS_INSTALL_FAILED{L"IDS_STATUS_INSTALL_FAILED",
                                                    L"Install failed."};
inline constexpr UiString IDS_STATUS_CANCELLED{L"IDS_STATUS_CANCELLED", L"Cancelled."};
inline constexpr UiString IDS_PRODUCT_READY{L"IDS_PRODUCT_READY", L"%s is ready"};
inline constexpr UiString IDS_ACCEPT_LICENSE_TERMS{L"IDS_ACCEPT_LICENSE_TERMS", L"I accept the"};
inline constexpr UiString IDS_LINK_LICENSE_TERMS{L"IDS_LINK_LICENSE_TERMS", L"License Terms"};
inline constexpr UiString IDS_INSTALL_SETTINGS{L"IDS_INSTALL_SETTINGS", L"Installation settings"};
inline constexpr UiString IDS_SELECT_LANG{L"IDS_SELECT_LANG", L"Please select a language:"};
inline constexpr UiString IDS_INSTALL_FOLDER{L"IDS_INSTALL_FOLDER", L"Installation folder:"};
inline constexpr UiString IDS_MESSAGE_CANCELNOTICE{
    L"IDS_MESSAGE_CANCELNOTICE", L"Are you sure you want to cancel the installation?"};
inline constexpr UiString IDS_START_NOW{L"IDS_START_NOW", L"Start Now"};
inline constexpr UiString IDS_LAUNCH_APP{L"IDS_LAUNCH_APP", L"Launch %s"};
inline constexpr UiString IDS_BROWSE_DEST_FOLDER{L"IDS_BROWSE_DEST_FOLDER",
                                                 L"Browse to the destination folder."};
inline constexpr UiString IDS_PREPARING{L"IDS_PREPARING", L"Preparing..."};
inline constexpr UiString IDS_CALC_TIME_REMAINING{L"IDS_CALC_TIME_REMAINING",
                                                  L"Calculating time remaining..."};
inline constexpr UiString IDS_TIME_REMAINING_HOURS{L"IDS_TIME_REMAINING_HOURS",
                                                   L"%02d hours %02d mins %02d secs remaining..."};
inline constexpr UiString IDS_TIME_REMAINING_MINS{L"IDS_TIME_REMAINING_MINS",
                                                  L"%02d mins %02d secs remaining..."};
inline constexpr UiString IDS_TIME_REMAINING_SECS{L"IDS_TIME_REMAINING_SECS",
                                                  L"%02d secs remaining..."};
inline constexpr UiString IDS_FILE_ASSOCIATION{L"IDS_FILE_ASSOCIATION", L"Associate with:"};
inline constexpr UiString IDS_FILE_ASSOCIATE_ALL{L"IDS_FILE_ASSOCIATE_ALL",
                                                 L"All supported image file types"};
inline constexpr UiString IDS_FILE_ASSOCIATE_UNUSED{L"IDS_FILE_ASSOCIATE_UNUSED",
                                                    L"File types not currently used"};
inline constexpr UiString IDS_FILE_ASSOCIATE_NONE{L"IDS_FILE_ASSOCIATE_NONE",
                                                  L"None of any file types"};
inline constexpr UiString IDS_ERR_INSTALLED_ALREADY{
    L"IDS_ERR_INSTALLED_ALREADY", L"%s is already installed. Would you like to launch it?"};
inline constexpr UiString IDS_ERR_CLIENT_TOO_OLD{
    L"IDS_ERR_CLIENT_TOO_OLD",
    L"The version of your client is too old, please click \"OK\" to download the latest client."};
inline constexpr UiString IDS_ERR_CONNECT_DOWNLOAD_SERVER{
    L"IDS_ERR_CONNECT_DOWNLOAD_SERVER",
    L"Unable to contact the download server. Check your Internet connection and try again. If "
    L"the issue persists, please contact Customer Care."};
inline constexpr UiString IDS_ERR_CREATE_FOLDER_FAILED{L"IDS_ERR_CREATE_FOLDER_FAILED",
                                                       L"The specified path %s is unavailable."};
inline constexpr UiString IDS_CLOSE_RUNNING_APPS{
    L"IDS_CLOSE_RUNNING_APPS",
    L"The following applications should be closed before continuing the installation:"};

// Links, looked up with GetLink in the "RLINK" section.
inline constexpr UiString IDS_RLINK_TERMS{L"IDS_RLINK_TERMS",
                                          L"https://www.example.com/pictova/kest/terms"};
inline constexpr UiString IDS_RLINK_SLIDE_SHOW{L"IDS_RLINK_SLIDE_SHOW",
                                               L"https://www.example.com/pictova/kest/discover"};

// Every text of the "UISTRING" section, in table order.
inline constexpr std::array<UiString, 32> kUiStrings = {
    IDS_INSTALL,
    IDS_STATUS_INIT,
    IDS_STATUS_CANCELLING,
    IDS_STATUS_DOWNLOADING,
    IDS_STATUS_INSTALLING,
    IDS_STATUS_FINISHED,
    IDS_STATUS_INSTALL_FAILED,
    IDS_STATUS_CANCELLED,
    IDS_PRODUCT_READY,
    IDS_ACCEPT_LICENSE_TERMS,
    IDS_LINK_LICENSE_TERMS,
    IDS_INSTALL_SETTINGS,
    IDS_SELECT_LANG,
    IDS_INSTALL_FOLDER,
    IDS_MESSAGE_CANCELNOTICE,
    IDS_START_NOW,
    IDS_LAUNCH_APP,
    IDS_BROWSE_DEST_FOLDER,
    IDS_PREPARING,
    IDS_CALC_TIME_REMAINING,
    IDS_TIME_REMAINING_HOURS,
    IDS_TIME_REMAINING_MINS,
    IDS_TIME_REMAINING_SECS,
    IDS_FILE_ASSOCIATION,
    IDS_FILE_ASSOCIATE_ALL,
    IDS_FILE_ASSOCIATE_UNUSED,
    IDS_FILE_ASSOCIATE_NONE,
    IDS_ERR_INSTALLED_ALREADY,
    IDS_ERR_CLIENT_TOO_OLD,
    IDS_ERR_CONNECT_DOWNLOAD_SERVER,
    IDS_ERR_CREATE_FOLDER_FAILED,
    IDS_CLOSE_RUNNING_APPS,
};

// The two links of the "RLINK" section.
inline constexpr std::array<UiString, 2> kLinks = {IDS_RLINK_TERMS, IDS_RLINK_SLIDE_SHOW};
