// Measures the Cache Explorer's core work on a large cache: grouping ITEMS items
// over DOMAINS domains (BuildDomainList), moving every domain to "Available
// Domains" and back, moving every other domain, and the deletion question's counts.
// The baseline, measured in the same run, is one plain walk over the items that
// sums their groups: the grouping should stay within a small factor of it.
//
//   explorer_bench [ITEMS [DOMAINS]]     (defaults 50000 and 2000)
//
// A last line for scripts gives the median of the grouping runs and of the walk:
//   MEDIAN build MILLISECONDS walk MILLISECONDS

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "explorer/domain_grouping.h"
#include "platform/clock.h"
#include "tool_options.h"

using namespace arkivo;

namespace {

constexpr char Usage[] = "usage: explorer_bench [ITEMS [DOMAINS]]   (defaults: 50000 and 2000)\n";

// The best of several runs, in milliseconds; median, when given, gets the middle one.
double BestOf(int runs, const std::function<void()>& work, double* median = nullptr) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        times.push_back(took.count());
    }
    std::sort(times.begin(), times.end());
    if (median != nullptr) {
        *median = times[times.size() / 2];
    }
    return times.front();
}

// Items spread over the domains round robin, with mixed letter case in the names so
// the lists' case-insensitive order has work to do.
TCacheItemList MakeItems(std::size_t count, std::size_t domains, double now) {
    TCacheItemList items;
    items.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        auto item = std::make_unique<TCacheItem>();
        const std::size_t site = (i * 7919) % domains;
        item->Domain =
            (site % 3 == 0 ? "WWW.site" : "www.Site") + std::to_string(site) + ".example";
        item->Group = static_cast<std::int32_t>(i % 3);
        item->Date = now - static_cast<double>(i % 400) / 10.0;
        item->Url = "http://" + item->Domain + ":80/page" + std::to_string(i) + ".htm";
        items.push_back(std::move(item));
    }
    return items;
}

}  // namespace

int main(int argc, char** argv) {
    tools::TakeNoOptions(argc, argv, "explorer_bench", Usage);
    const std::size_t itemCount = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 50000;
    const std::size_t domainCount = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 2000;
    if (itemCount == 0 || domainCount == 0) {
        std::fputs(Usage, stderr);
        return 2;
    }
    const double now = Now();
    const TCacheItemList items = MakeItems(itemCount, domainCount, now);
    const AgeWindow window = OpenAgeWindow(now);
    const TypeSwitches switches;

    std::uint64_t sink = 0;
    double walkMedian = 0;
    const double walk = BestOf(
        5,
        [&] {
            for (const auto& item : items) {
                sink +=
                    static_cast<std::uint64_t>(item->Group) + (window.Contains(item->Date) ? 1 : 0);
            }
        },
        &walkMedian);

    DomainGrouping grouping;
    double buildMedian = 0;
    const double build = BestOf(
        5, [&] { grouping.BuildDomainList(items, window); }, &buildMedian);
    const std::vector<std::string> all = grouping.DstList().Names();
    std::vector<std::string> everyOther;
    for (std::size_t i = 0; i < all.size(); i += 2) {
        everyOther.push_back(all[i]);
    }
    const double moveAll = BestOf(5, [&] {
        grouping.MoveToSrc(all);
        grouping.MoveToDst(all);
    });
    const double moveHalf = BestOf(5, [&] {
        grouping.MoveToSrc(everyOther);
        grouping.MoveToDst(everyOther);
    });
    std::uint64_t chosen = 0;
    const double count = BestOf(
        5, [&] { chosen = grouping.CountSelection().Text + grouping.ChosenCount(switches); });
    std::size_t picked = 0;
    const double pick = BestOf(5, [&] {
        picked = 0;
        for (const auto& item : items) {
            picked += grouping.IsChosen(*item, switches) ? 1 : 0;
        }
    });

    std::printf("%zu items over %zu domains (%zu listed)\n", itemCount, domainCount,
                grouping.DomainList().size());
    std::printf("baseline walk over the items      %8.2f ms\n", walk);
    std::printf("BuildDomainList                   %8.2f ms  (%.1f x baseline)\n", build,
                build / walk);
    std::printf("all domains out and back          %8.2f ms\n", moveAll);
    std::printf("every other domain out and back   %8.2f ms\n", moveHalf);
    std::printf("CountSelection + ChosenCount      %8.2f ms\n", count);
    std::printf("IsChosen over every item          %8.2f ms  (%zu chosen)\n", pick, picked);
    std::printf("MEDIAN build %.3f walk %.3f\n", buildMedian, walkMedian);
    return sink + chosen == 0 ? 1 : 0;
}
