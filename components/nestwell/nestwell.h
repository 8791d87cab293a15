#pragma once

#include <cstdint>
#include <string>

// The per-user profile store: small text entries by section and key, kept per user under
// an application key.
class NestwellStore {
public:
    virtual ~NestwellStore() = default;
    // user may be null: the store then keeps its entries without a user name.
    virtual uint32_t setUserProfileInfo(const char* user, const std::string& applicationKey) = 0;
    virtual uint32_t getProfileString(const std::string& section, const std::string& key, std::string* text,
                                      size_t bufferSize) = 0;
    virtual uint32_t setProfileString(const std::string& section, const std::string& key,
                                      const std::string& text) = 0;
};
