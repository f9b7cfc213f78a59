// Shared set-up of the discovery tests: fresh folder tables, a scratch folder
// tree, the current directory given back, and scratch vendor trees in the
// registry.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/test_support.h"

// A record of the host's settings file: marker 0x80, length, text, NUL. The
// length is the text's own unless given.
std::vector<char> SettingsRecord(const std::string& path, int length = -1);

class DiscoveryTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates `relative` (and the folders above it) under the scratch folder;
    // returns its full path without a trailing backslash.
    std::string MakeFolder(const std::string& relative);
    // Passes `path` to AddCandidateFolder through a path-sized buffer.
    void Offer(const std::string& path);
    // The listed paths, up to the first free record.
    std::vector<std::string> Listed() const;
    int FlagOf(const std::string& path) const;

    TempFolder temp;

  private:
    char savedDirectory_[MAX_PATH] = "";
};

// A vendor name no other test uses, with its tree under software\ in
// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE and under .default\software\ in
// HKEY_USERS; all three are deleted when the object goes.
class ScratchVendor {
  public:
    ScratchVendor();
    ~ScratchVendor();
    ScratchVendor(const ScratchVendor&) = delete;
    ScratchVendor& operator=(const ScratchVendor&) = delete;

    const char* Name() const { return name_.c_str(); }
    // The path of the vendor key (or of `sub` below it) in `root`.
    std::string Key(HKEY root, const std::string& sub = "") const;
    void Set(HKEY root, const std::string& sub, const std::string& name, const std::string& data,
             DWORD type = REG_SZ) const;

  private:
    std::string name_;
};

// Runs the search over the scratch vendor in every hive.
void Search(const ScratchVendor& vendor, const char* pattern = "");

// A fixed key of the system that a test fills in and removes again. When the
// key exists already, `Existed()` is true and the key is left alone.
class OwnedKey {
  public:
    OwnedKey(HKEY root, std::string path);
    ~OwnedKey();
    OwnedKey(const OwnedKey&) = delete;
    OwnedKey& operator=(const OwnedKey&) = delete;

    bool Existed() const { return existed_; }
    void SetDefault(const std::string& sub, const std::string& data) const;

  private:
    HKEY root_;
    std::string path_;
    bool existed_;
};
