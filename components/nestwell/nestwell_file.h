#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "components/nestwell/nestwell.h"

// The profile store as one small ini-like file per application key:
// <config home>/<key with "\" as "/">/profile.ini.
//
// Entries live in memory, loaded when the application key is chosen; every change is written
// through at once, atomically. Sections and keys match without regard to case and keep the
// spelling they were first stored with; values are kept byte for byte.
//
// Refused (answer 0, nothing changes): application keys with an empty, "." or ".." component
// or a leading separator; empty names, names with surrounding blanks or control characters,
// keys holding "=" or starting with "[", ";" or "#"; values holding a line break or a NUL;
// anything that is not UTF-8.
class NestwellFile : public NestwellStore {
public:
    // The config home is looked up when setUserProfileInfo is called.
    NestwellFile();
    // Application keys are placed under baseFolder instead.
    explicit NestwellFile(std::string baseFolder);

    // Loads the key's file and records the user (or none) and the key in it. Answers nonzero
    // for an acceptable key, even when the record cannot be written: reads still work then.
    bool setUserProfileInfo(const char* user, const std::string& applicationKey) override;
    std::optional<std::string> getProfileString(const std::string& section, const std::string& key) override;
    bool setProfileString(const std::string& section, const std::string& key, const std::string& text) override;

    // The profile file in use; empty before a successful setUserProfileInfo.
    const std::string& filePath() const { return filePath_; }

    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    using Table = std::vector<Section>;

private:
    std::string baseFolder_;  // empty: the config home
    std::string filePath_;
    Table table_;
};

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config (the account's home when
// HOME is unusable); empty when no home can be found.
std::string NestwellConfigHome();
