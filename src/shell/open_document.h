#pragma once
// OpenDocument: opens a file or web address in the program the desktop associates
// with it (the user's web browser, as a rule) through xdg-open, and tells the user
// in words when that fails.
//
// xdg-open's outcome is mapped to the result numbers of the message table below, so
// the table is the same whatever launched the document: greater than 32 is success,
// 2 a missing file, 31 no program for the document (or no xdg-open at all), and any
// other failure the generic text. xdg-open that is still running after a short wait
// has handed the document to a program that stays in the foreground: success.

#include <chrono>
#include <string>
#include <string_view>

namespace arkivo {

inline constexpr int ShellSuccess = 42;        // any value above 32 means success
inline constexpr int ShellFileNotFound = 2;    // xdg-open exit status 2
inline constexpr int ShellNoAssociation = 31;  // exit status 3, or no xdg-open
inline constexpr int ShellOtherFailure = 1;    // the generic text

// The reason text for a failed result, line breaks included.
std::string OpenDocumentReason(int result);

// The whole message shown for a failed result: the reason, the path and the advice
// to open it from the browser's File menu.
std::string OpenDocumentMessage(int result, std::string_view path);

// Starts xdg-open on path (found through PATH) and maps its outcome to a result
// number; a launch still running after wait counts as success and is left to run.
int LaunchDocument(const std::string& path,
                   std::chrono::milliseconds wait = std::chrono::milliseconds(1500));

// LaunchDocument, then an error message through the Dialogs seam when it failed.
void OpenDocument(std::string_view path);

}  // namespace arkivo
