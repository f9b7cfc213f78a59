// Shared set-up of the discovery tests: fresh folder tables, a scratch folder
// tree, and the current directory given back (the probes enter the folders
// they find, and the scratch folder must not be current when it is removed).
#pragma once

#include <gtest/gtest.h>

#include <ctype.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/bounded_text.h"
#include "discovery/candidate_list.h"
#include "support/test_support.h"

using Strings = std::vector<std::string>;

// A record of the host's settings file: marker 0x80, length, text, NUL. The
// length is the text's own unless given.
inline std::vector<char> SettingsRecord(const std::string& path, int length = -1) {
    std::vector<char> bytes{'\x80', static_cast<char>(length < 0 ? path.size() : length)};
    bytes.insert(bytes.end(), path.begin(), path.end());
    bytes.push_back('\0');
    return bytes;
}

class DiscoveryTest : public ::testing::Test {
  protected:
    DiscoveryTest() {
        ResetFolderTables();
        GetCurrentDirectoryA(MAX_PATH, savedDirectory_);
    }
    ~DiscoveryTest() override {
        SetCurrentDirectoryA(savedDirectory_);
        ResetFolderTables();
    }

    // Creates `relative` and the folders above it under the scratch folder;
    // returns its full path.
    std::string MakeFolder(const std::string& relative) {
        std::string path = temp / relative;
        size_t end = temp.Path().size() - 1;
        do {
            end = path.find('\\', end + 1);
            CreateDirectoryA(path.substr(0, end).c_str(), nullptr);
        } while (end != std::string::npos);
        return path;
    }

    // The listed paths, up to the first free record.
    Strings Listed() const {
        Strings paths;
        for (const CandidateFolder& candidate : CandidateList) {
            if (candidate.path[0] == '\0') break;
            paths.push_back(candidate.path);
        }
        return paths;
    }

    TempFolder temp;

  private:
    char savedDirectory_[MAX_PATH] = "";
};
