#pragma once
// Help by topic number. The help text is one HTML page, help/Arkivo.html beside the
// program, with an anchor "topic-N" per topic number; the program's help viewer
// shows it at that anchor. The path is found once at start-up and is empty when the
// file is missing, so every later request fails with "Help file not found".

#include <string>

namespace arkivo {

// Topic numbers the windows carry.
namespace HelpTopic {
inline constexpr int MainWindow = 1;
inline constexpr int CacheExplorer = 5;
inline constexpr int NothingChosen = 11;
inline constexpr int Properties = 12;
inline constexpr int ExplorerCancel = 15;
inline constexpr int SourceList = 16;
inline constexpr int AgeFilter = 17;
inline constexpr int TextBox = 21;
inline constexpr int MediaBox = 22;
inline constexpr int OthersBox = 23;
inline constexpr int FileCounts = 24;
inline constexpr int Progress = 36;
inline constexpr int Search = 39;
inline constexpr int UncacheButton = 40;
inline constexpr int DeleteButton = 41;
inline constexpr int PrefsButton = 42;
inline constexpr int DestinationList = 43;
}  // namespace HelpTopic

inline constexpr const char* HelpFileNotFoundText = "Help file not found";

// dataDir + "help/Arkivo.html" when that file exists, else empty.
std::string LocateHelpFile(const std::string& dataDir);

// The help file path set at start-up; empty until then or when it is missing.
const std::string& HelpFile();
void SetHelpFile(std::string path);

// The anchor of a topic inside the help file: "topic-5".
std::string HelpTopicAnchor(int topic);

}  // namespace arkivo
