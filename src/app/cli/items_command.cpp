#include "items_command.h"

#include "cache_selection.h"
#include "console.h"
#include "exit_status.h"
#include "item_output.h"

namespace arkivo::cli {

int ListItems(const CliArguments& arguments) {
    TCacheItemList items;
    if (const int status = ReadItems(arguments.Source, items); status != Success) {
        return status;
    }
    if (!Print(arguments.Json ? ItemsAsJson(items) : ItemsAsText(items))) {
        Complain("cannot write the output");
        return RunFailed;
    }
    return Success;
}

}  // namespace arkivo::cli
