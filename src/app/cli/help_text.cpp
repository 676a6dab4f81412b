#include "help_text.h"

namespace arkivo::cli {
namespace {

constexpr const char* SourceHelp =
    "Source (exactly one):\n"
    "  --nav [INDEX]   a Netscape cache index (FAT or FAT.DB, any name); without\n"
    "                  INDEX the stored \"FAT Path\" setting, else the index found\n"
    "                  through the Navigator registry values of the Wine prefix\n"
    "  --ie [CACHE]    an Internet Explorer cache: a Content.IE5 directory or the\n"
    "                  index.dat in it; without CACHE the one ARKIVO_IE_CACHE names,\n"
    "                  else the stored \"IE cache folder\" setting, else the first\n"
    "                  found in the user profiles of the Wine prefix\n";

constexpr const char* FilterHelp =
    "Filters (the Cache Explorer's choices; default: everything):\n"
    "  --domain NAME   choose only this domain (whole name, letter case ignored);\n"
    "                  repeat it to choose several\n"
    "  --newer AGE     only items newer than AGE\n"
    "  --older AGE     only items older than AGE\n"
    "                  AGE is a whole number followed by h, d or w (hours, days,\n"
    "                  weeks), such as 12h or 2w; the bounds are strict and fixed\n"
    "                  when the command starts\n"
    "  --types LIST    a comma-separated subset of text, media and other\n";

constexpr const char* ExitHelp =
    "Exit status: 0 success, 1 nothing to do (no items, nothing chosen), 2 usage\n"
    "error, 3 the source cannot be read, 4 the run failed or was cancelled.\n";

std::string Overview() {
    return std::string(
               "Usage: arkivo items   SOURCE [--json]\n"
               "       arkivo domains SOURCE [FILTERS] [--json]\n"
               "       arkivo archive SOURCE [FILTERS] [ARCHIVE OPTIONS]\n"
               "       arkivo delete  SOURCE [FILTERS] [--yes]\n"
               "       arkivo search  [DIR] [--url TEXT] [--text TEXT] [--json]\n"
               "       arkivo warc    SOURCE [FILTERS] [--to FILE.warc.gz] [--cdxj FILE]\n"
               "                      [--wacz FILE.wacz]\n"
               "       arkivo COMMAND --help\n"
               "       arkivo --help | --version\n"
               "\n"
               "Reads old browser caches, groups their items by web site, archives chosen\n"
               "items into a browsable offline copy, deletes them from the cache and finds\n"
               "archived items by text in their URL and pages.\n"
               "\n"
               "Commands:\n"
               "  items     list the items of the cache\n"
               "  domains   list the domains with their counts of text, media and other items\n"
               "  archive   copy the chosen items into the archive directory\n"
               "  delete    delete the chosen items from the cache\n"
               "  search    find archived items by text in their URL and pages\n"
               "  warc      write the chosen items as a web archive (WARC, CDXJ, WACZ)\n"
               "\n") +
           SourceHelp + "\n" + FilterHelp + "\n" +
           "Messages go to standard error, results to standard output. Outside --json,\n"
           "control bytes in texts from a cache or an archive show as \\xHH (upper-case\n"
           "hex), so ESC shows as \\x1B.\n" +
           ExitHelp;
}

std::string ItemsHelp() {
    return std::string(
               "Usage: arkivo items SOURCE [--json]\n"
               "\n"
               "Lists the items of a browser cache, in the order the cache holds them.\n"
               "\n") +
           SourceHelp +
           "\n"
           "Output:\n"
           "  --json          one JSON object per item: url, domain, kind, type, group,\n"
           "                  date, file\n"
           "\n" +
           ExitHelp;
}

std::string DomainsHelp() {
    return std::string(
               "Usage: arkivo domains SOURCE [FILTERS] [--json]\n"
               "\n"
               "Lists the chosen domains in alphabetical order (letter case ignored), each\n"
               "with its numbers of chosen text, media and other items; a type left out\n"
               "of --types counts 0, and a domain with no chosen item is left out.\n"
               "\n") +
           SourceHelp + "\n" + FilterHelp +
           "\n"
           "Output:\n"
           "  --json          one JSON object per domain: domain, text, media, other\n"
           "\n" +
           ExitHelp;
}

std::string ArchiveHelp() {
    return std::string(
               "Usage: arkivo archive SOURCE [FILTERS] [ARCHIVE OPTIONS]\n"
               "\n"
               "Copies the chosen items into the archive directory as a tree a browser can\n"
               "walk offline, keeps archive.dat up to date and rebuilds the index pages.\n"
               "Progress goes to standard error: a bar on a terminal, else one line per\n"
               "stage. Ctrl+C cancels; what was archived so far is recorded. The last line\n"
               "names the number of items archived and the path of 1st_page.htm.\n"
               "\n") +
           SourceHelp + "\n" + FilterHelp +
           "\n"
           "Archive options (the link options default to the stored settings):\n"
           "  --to DIR                 the archive directory (default: the stored one);\n"
           "                           a missing directory is created with its parents\n"
           "  --original-urls          links to items not archived keep their web address\n"
           "  --no-original-urls       ... or point at the archive's notfound.htm\n"
           "  --strikeout              strike out links to items not archived\n"
           "  --no-strikeout           ... or leave them as they are\n"
           "  --emphasize[=PRESET]     emphasize links to archived pages, PRESET being\n"
           "                           bold, italic, larger or custom (the stored tags);\n"
           "                           without PRESET the stored one\n"
           "  --no-emphasize           leave links to archived pages as they are\n"
           "  --warc                   also write the archived items, as the cache holds\n"
           "                           them, to a new WARC file in the archive's folder\n"
           "                           web+archive, whose index.cdxj then indexes every\n"
           "                           WARC file there (default: the stored setting); an\n"
           "                           item left out of the WARC fails the run\n"
           "  --no-warc                ... or write no web archive\n"
           "\n" +
           ExitHelp;
}

std::string DeleteHelp() {
    return std::string(
               "Usage: arkivo delete SOURCE [FILTERS] [--yes]\n"
               "\n"
               "Deletes the chosen items from the cache: a Netscape cache loses the cached\n"
               "files, an Internet Explorer cache its entries. Asks the Cache Explorer's\n"
               "question first; without a terminal to answer on it refuses unless --yes\n"
               "is given. Reports how many items were deleted, how many are marked for\n"
               "deletion with their files still on disk, and how many were not deleted.\n"
               "Entries an earlier delete left marked for deletion are finished first,\n"
               "also when nothing is chosen.\n"
               "\n") +
           SourceHelp + "\n" + FilterHelp +
           "\n"
           "Options:\n"
           "  --yes           delete without asking\n"
           "\n"
           "Exit status: 0 every chosen item deleted, 1 nothing chosen, 2 usage error\n"
           "(also: no terminal and no --yes), 3 the source cannot be read, 4 the answer\n"
           "was not yes, an item was not deleted or only marked for deletion, or the\n"
           "cache index could not be written.\n";
}

std::string SearchHelp() {
    return "Usage: arkivo search [DIR] [--url TEXT] [--text TEXT] [--json]\n"
           "\n"
           "Finds the items archived in DIR (default: the stored \"Search directory\",\n"
           "else the default archive directory) that are still there, and prints them in\n"
           "the order of archive.dat. Letter case is ignored (A to Z).\n"
           "\n"
           "Options (at least one of --url and --text):\n"
           "  --url TEXT      the item's URL holds TEXT; the URL is the canonical one,\n"
           "                  without \":80\" for the default port\n"
           "  --text TEXT     the archived page holds TEXT; only HTML pages can match\n"
           "  --json          one JSON object per hit: url, file, class (text, image,\n"
           "                  audio, video or other)\n"
           "\n"
           "Ctrl+C stops the search; the hits found so far are printed.\n"
           "\n"
           "Exit status: 0 hits found, 1 no hits, 2 usage error, 3 DIR is no directory\n"
           "or its archive.dat is missing or cannot be read, 4 the search was stopped or\n"
           "an archived page could not be read.\n";
}

std::string WarcHelp() {
    return std::string(
               "Usage: arkivo warc SOURCE [FILTERS] [--to FILE.warc.gz] [--cdxj FILE]\n"
               "                   [--wacz FILE.wacz]\n"
               "\n"
               "Writes every chosen item whose cached file can be read as a WARC/1.1 record,\n"
               "each record its own gzip member, after one warcinfo record. An Internet\n"
               "Explorer item with the server's stored HTTP head becomes a response record;\n"
               "every other item a resource record of its cached bytes. WARC-Date is the\n"
               "time the browser last fetched or checked the item, in UTC. After each\n"
               "record a metadata record gives what the cache index recorded about it.\n"
               "Files are written under a temporary name and renamed when complete.\n"
               "\n") +
           SourceHelp + "\n" + FilterHelp +
           "\n"
           "Files (at least one of --to and --wacz):\n"
           "  --to FILE       the WARC file (.warc.gz)\n"
           "  --cdxj FILE     a CDXJ index of its captures, sorted\n"
           "  --wacz FILE     a WACZ package: the WARC, its index, the list of HTML pages\n"
           "                  and datapackage.json, for replay tools such as ReplayWeb.page\n"
           "\n"
           "Ctrl+C cancels; nothing is written then.\n"
           "\n"
           "Exit status: 0 every chosen item written, 1 nothing chosen, 2 usage error,\n"
           "3 the source cannot be read, 4 an item was skipped (its cached file could not\n"
           "be read), a file could not be written, or the export was cancelled.\n";
}

}  // namespace

std::string UsageText(std::optional<Action> topic) {
    switch (topic.value_or(Action::Help)) {
        case Action::Items:
            return ItemsHelp();
        case Action::Domains:
            return DomainsHelp();
        case Action::Archive:
            return ArchiveHelp();
        case Action::Delete:
            return DeleteHelp();
        case Action::Search:
            return SearchHelp();
        case Action::Warc:
            return WarcHelp();
        case Action::Help:
        case Action::Version:
            break;
    }
    return Overview();
}

}  // namespace arkivo::cli
