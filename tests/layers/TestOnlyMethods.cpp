#include "TestOnlyMethods.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CodeModel.h"
#include "CppTokens.h"

namespace fs = std::filesystem;

namespace layers {

namespace {

bool IsSource(const fs::path& path) {
    const std::string ext = path.extension().string();
    return ext == ".h" || ext == ".cpp";
}

std::vector<SourceText> ReadFolder(const fs::path& root, const char* folder) {
    std::vector<SourceText> files;
    if (!fs::is_directory(root / folder)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
        if (!entry.is_regular_file() || !IsSource(entry.path())) continue;
        files.push_back({fs::relative(entry.path(), root).generic_string(), Tokens(ReadText(entry.path().string()))});
    }
    std::sort(files.begin(), files.end(), [](const SourceText& a, const SourceText& b) { return a.path < b.path; });
    return files;
}

// The functions a set of files uses: by class and name where the class is
// known, by name alone where it is not.
struct Uses {
    std::set<std::pair<std::string, std::string>> resolved;
    std::set<std::string> unresolved;

    bool Has(const std::pair<std::string, std::string>& function) const {
        return resolved.count(function) || unresolved.count(function.second);
    }
};

Uses CollectUses(const CodeModel& model, const std::vector<SourceText>& files) {
    Uses uses;
    for (const SourceText& file : files)
        model.ForEachUse(file, [&uses](const FunctionUse& use) {
            if (use.resolved)
                uses.resolved.insert({use.owner, use.name});
            else
                uses.unresolved.insert(use.name);
        });
    return uses;
}

}  // namespace

std::vector<std::string> FindTestOnlyMethods(const std::string& root) {
    std::vector<SourceText> product;
    for (const char* folder : {"src", "bench", "fuzz", "tools"})
        for (SourceText& file : ReadFolder(fs::path(root), folder)) product.push_back(std::move(file));
    const std::vector<SourceText> tests = ReadFolder(fs::path(root), "tests");

    CodeModel model;
    for (const SourceText& file : product) model.Read(file);
    for (const SourceText& file : tests) model.Read(file);
    const Uses byProduct = CollectUses(model, product);
    const Uses byTests = CollectUses(model, tests);

    std::set<std::string> found;
    for (const auto& [function, headers] : model.Candidates()) {
        if (byProduct.Has(function) || !byTests.Has(function)) continue;
        const std::string name = function.first.empty() ? function.second : function.first + "::" + function.second;
        for (const std::string& header : headers) found.insert(header + " " + name);
    }
    return {found.begin(), found.end()};
}

std::vector<std::pair<std::string, std::string>> ReadList(const std::string& path) {
    std::vector<std::pair<std::string, std::string>> entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string key, value;
        if (!(words >> key)) continue;
        std::getline(words >> std::ws, value);
        while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) value.pop_back();
        entries.emplace_back(key, value);
    }
    return entries;
}

std::set<std::string> AllowedKeys(const std::vector<std::pair<std::string, std::string>>& list) {
    std::set<std::string> keys;
    for (const auto& entry : list) {
        const std::string& key = entry.first;
        const size_t colon = key.find(':');
        if (colon == std::string::npos) {
            keys.insert(key);
            continue;
        }
        std::istringstream names(key.substr(colon + 1));
        for (std::string name; std::getline(names, name, ',');) keys.insert(key.substr(0, colon + 1) + name);
    }
    return keys;
}

std::vector<std::string> CompareWithLists(const std::vector<std::string>& found, const std::set<std::string>& allowed,
                                          const std::set<std::string>& baseline) {
    std::vector<std::string> complaints;
    std::set<std::string> foundKeys;
    for (const std::string& entry : found) {
        const size_t space = entry.find(' ');
        const std::string key = entry.substr(0, space) + ":" + entry.substr(space + 1);
        foundKeys.insert(key);
        if (!allowed.count(key) && !baseline.count(entry))
            complaints.push_back("src/" + entry + ": only tests call it; test through the public operations instead");
    }
    for (const std::string& key : allowed) {
        if (key.find(':') == std::string::npos)
            complaints.push_back(key + ": name the header it is declared in (header:Name) in test_only_allowed.txt");
        else if (!foundKeys.count(key))
            complaints.push_back(key + ": no longer called only by tests; take it off test_only_allowed.txt");
    }
    for (const std::string& entry : baseline) {
        const size_t space = entry.find(' ');
        if (!foundKeys.count(entry.substr(0, space) + ":" + entry.substr(space + 1)))
            complaints.push_back(entry + ": no longer called only by tests; take it off test_only_baseline.txt");
    }
    return complaints;
}

}  // namespace layers
