#include "discovery_fixture.h"

#include <stdio.h>

#include "discovery/candidate_list.h"
#include "discovery/vendor_search.h"

std::vector<char> SettingsRecord(const std::string& path, int length) {
    std::vector<char> bytes{'\x80', static_cast<char>(length < 0 ? path.size() : length)};
    bytes.insert(bytes.end(), path.begin(), path.end());
    bytes.push_back('\0');
    return bytes;
}

void DiscoveryTest::SetUp() {
    ResetFolderTables();
    GetCurrentDirectoryA(MAX_PATH, savedDirectory_);
}

void DiscoveryTest::TearDown() {
    // The probes enter the folders they find; the scratch folder must not be
    // current when it is removed.
    SetCurrentDirectoryA(savedDirectory_);
    ResetFolderTables();
}

std::string DiscoveryTest::MakeFolder(const std::string& relative) {
    std::string path = temp.Path();
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find('\\', start);
        if (end == std::string::npos) end = relative.size();
        path += relative.substr(start, end - start);
        CreateDirectoryA(path.c_str(), nullptr);
        path += '\\';
        start = end + 1;
    }
    path.pop_back();
    EXPECT_TRUE(FolderExists(path)) << path;
    return path;
}

void DiscoveryTest::Offer(const std::string& path) {
    char buffer[kPathSize];
    ASSERT_LT(path.size(), sizeof buffer);
    lstrcpyA(buffer, path.c_str());
    AddCandidateFolder(buffer);
}

std::vector<std::string> DiscoveryTest::Listed() const {
    std::vector<std::string> paths;
    for (const CandidateFolder& candidate : CandidateList) {
        if (candidate.path[0] == '\0') break;
        paths.push_back(candidate.path);
    }
    return paths;
}

int DiscoveryTest::FlagOf(const std::string& path) const {
    for (const CandidateFolder& candidate : CandidateList)
        if (path == candidate.path) return candidate.flag;
    return -1;
}

ScratchVendor::ScratchVendor() {
    static int counter;
    char name[64];
    snprintf(name, sizeof name, "pastel-vendor-%lu-%d", GetCurrentProcessId(), ++counter);
    name_ = name;
}

ScratchVendor::~ScratchVendor() {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS})
        RegDeleteTreeA(root, Key(root).c_str()), RegDeleteKeyA(root, Key(root).c_str());
}

std::string ScratchVendor::Key(HKEY root, const std::string& sub) const {
    std::string key = (root == HKEY_USERS ? ".default\\software\\" : "software\\") + name_;
    return sub.empty() ? key : key + "\\" + sub;
}

void ScratchVendor::Set(HKEY root, const std::string& sub, const std::string& name,
                        const std::string& data, DWORD type) const {
    SetStringValue(root, Key(root, sub), name, data, type);
}

void Search(const ScratchVendor& vendor, const char* pattern) {
    SearchVendorKey("software", vendor.Name(), pattern);
}

OwnedKey::OwnedKey(HKEY root, std::string path)
    : root_(root), path_(std::move(path)), existed_(KeyExists(root, path_)) {}

OwnedKey::~OwnedKey() {
    if (!existed_) RegDeleteTreeA(root_, path_.c_str()), RegDeleteKeyA(root_, path_.c_str());
}

void OwnedKey::SetDefault(const std::string& sub, const std::string& data) const {
    SetStringValue(root_, sub.empty() ? path_ : path_ + "\\" + sub, "", data);
}
