#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The per-user profile store: small text entries by section and key, kept per user under
// an application key.
class NestwellStore {
public:
    virtual ~NestwellStore() = default;
    // user may be null: the store then keeps its entries without a user name.
    virtual bool setUserProfileInfo(const char* user, const std::string& applicationKey) = 0;
    // The text is cut to kLongestProfileText bytes.
    virtual std::optional<std::string> getProfileString(const std::string& section, const std::string& key) = 0;
    virtual bool setProfileString(const std::string& section, const std::string& key, const std::string& text) = 0;
};

constexpr size_t kLongestProfileText = 255;

// No store: nothing is kept.
class NoStore : public NestwellStore {
public:
    bool setUserProfileInfo(const char*, const std::string&) override { return false; }
    std::optional<std::string> getProfileString(const std::string&, const std::string&) override { return {}; }
    bool setProfileString(const std::string&, const std::string&, const std::string&) override { return false; }
};
