#pragma once
// The digests web archives name their contents by: SHA-1 in base32 for WARC
// records, SHA-256 in hex for a WACZ package's files. The hashing is OpenSSL's.

#include <memory>
#include <string>
#include <string_view>

namespace arkivo {

enum class DigestAlgorithm { Sha1, Sha256 };

// A digest computed over bytes given in pieces.
class Digest {
  public:
    explicit Digest(DigestAlgorithm algorithm);
    ~Digest();
    Digest(Digest&&) noexcept;
    Digest& operator=(Digest&&) noexcept;

    void Add(std::string_view bytes);
    // The raw digest of everything added; the digest starts again empty.
    std::string Finish();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// RFC 4648 base32, upper case, padded with "=".
std::string Base32(std::string_view bytes);

// Lower-case hexadecimal.
std::string HexText(std::string_view bytes);

// "sha1:" and the base32 of a raw SHA-1, as WARC digest fields name it.
std::string WarcDigestText(std::string_view sha1);

}  // namespace arkivo
