#include "webarchive/digest.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace arkivo {

struct Digest::State {
    const EVP_MD* Algorithm = nullptr;
    EVP_MD_CTX* Context = nullptr;
};

Digest::Digest(DigestAlgorithm algorithm) : state_(std::make_unique<State>()) {
    state_->Algorithm = algorithm == DigestAlgorithm::Sha1 ? EVP_sha1() : EVP_sha256();
    state_->Context = EVP_MD_CTX_new();
    if (state_->Context == nullptr ||
        EVP_DigestInit_ex(state_->Context, state_->Algorithm, nullptr) != 1) {
        throw std::bad_alloc();
    }
}

Digest::~Digest() {
    if (state_) {
        EVP_MD_CTX_free(state_->Context);
    }
}

Digest::Digest(Digest&&) noexcept = default;
Digest& Digest::operator=(Digest&&) noexcept = default;

void Digest::Add(std::string_view bytes) {
    EVP_DigestUpdate(state_->Context, bytes.data(), bytes.size());
}

std::string Digest::Finish() {
    unsigned char value[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_DigestFinal_ex(state_->Context, value, &size);
    EVP_DigestInit_ex(state_->Context, state_->Algorithm, nullptr);
    return std::string(reinterpret_cast<const char*>(value), size);
}

std::string Base32(std::string_view bytes) {
    static constexpr std::string_view Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
    std::string text;
    text.reserve((bytes.size() + 4) / 5 * 8);
    unsigned int buffer = 0;
    int bits = 0;
    for (const char byte : bytes) {
        buffer = (buffer << 8) | static_cast<unsigned char>(byte);
        bits += 8;
        while (bits >= 5) {
            bits -= 5;
            text += Alphabet[(buffer >> bits) & 0x1F];
        }
    }
    if (bits > 0) {
        text += Alphabet[(buffer << (5 - bits)) & 0x1F];
    }
    while (text.size() % 8 != 0) {
        text += '=';
    }
    return text;
}

std::string HexText(std::string_view bytes) {
    static constexpr std::string_view Digits = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text += Digits[value >> 4];
        text += Digits[value & 0xF];
    }
    return text;
}

std::string WarcDigestText(std::string_view sha1) {
    return "sha1:" + Base32(sha1);
}

}  // namespace arkivo
