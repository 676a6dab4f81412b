#pragma once
// The two programs share every line of code; where they behave differently the code
// is handed the edition: each program's main fixes it, the command line takes it
// from the cache it reads, and tests choose it per case.

namespace arkivo {

enum class Edition {
    Nav,  // ArkivoNav: the Netscape Navigator cache
    IE,   // ArkivoIE: the Internet Explorer cache
};

}  // namespace arkivo
