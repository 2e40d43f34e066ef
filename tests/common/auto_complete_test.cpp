#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "common/AutoComplete.h"
#include "platform/listbox.h"

namespace {

using AutoComplete::Complete;
using AutoComplete::Contains;

// The list as the address bar holds it: in its sorted order.
std::vector<std::string> Sorted(std::vector<std::string> entries) {
    std::stable_sort(entries.begin(), entries.end(), platform::ListLess);
    return entries;
}

// The completed text and its selection, "" when nothing completes.
std::string Completed(const std::vector<std::string>& entries, const std::string& typed) {
    const auto completion = Complete(entries, typed);
    if (!completion) return "";
    return entries[completion->index] + " [" + std::to_string(completion->selStart) + "," +
           std::to_string(completion->selLength) + "]";
}

std::string Upper(std::string text) {
    for (auto& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return text;
}

// The completion rule walked entry by entry, for ASCII text.
std::string WalkedCompletion(const std::vector<std::string>& entries, const std::string& typed) {
    const std::size_t n = typed.size();
    for (const auto& entry : entries) {
        const std::string upper = Upper(entry);
        std::size_t prefix = 0;
        if (upper.rfind("HTTP://", 0) == 0) prefix = 7;
        else if (upper.rfind("FILE:///", 0) == 0) prefix = 8;
        if (prefix > 0 && upper.size() >= prefix + n && upper.compare(prefix, n, Upper(typed)) == 0)
            return entry + " [" + std::to_string(prefix + n) + "," + std::to_string(entry.size() - prefix - n) + "]";
        if (upper.size() >= n && upper.compare(0, n, Upper(typed)) == 0)
            return entry + " [" + std::to_string(n) + "," + std::to_string(entry.size() - n) + "]";
    }
    return "";
}

TEST(AutoCompleteTest, NothingCompletesFromAnEmptyListOrPastEveryEntry) {
    EXPECT_FALSE(Complete({}, "exa"));
    EXPECT_FALSE(Complete({}, ""));
    const auto entries = Sorted({"abc", "http://abc.example/", "file:///C:/a"});
    EXPECT_FALSE(Complete(entries, "abc.example/x"));
    EXPECT_FALSE(Complete(entries, "http://abc.example/x"));
    EXPECT_FALSE(Complete(entries, "zzz"));
}

TEST(AutoCompleteTest, ThePlainEntryAndThePrefixedEntryCompeteInListOrder) {
    // "HTTP://www.abc.example" sorts before "www.abd.example": its stripped form wins and
    // the selection starts after the prefix and the typed text.
    auto entries = Sorted({"www.abd.example", "HTTP://www.abc.example"});
    EXPECT_EQ(Completed(entries, "www.ab"), "HTTP://www.abc.example [13,9]");
    // Here the plain entry comes first.
    entries = Sorted({"http://abc.example/", "abc.example/x"});
    EXPECT_EQ(Completed(entries, "ABC"), "abc.example/x [3,10]");
    EXPECT_EQ(Completed(entries, "abc.example/"), "abc.example/x [12,1]");
}

TEST(AutoCompleteTest, AFilePrefixIsStrippedBeforeADrivePath) {
    const auto entries = Sorted({"FILE:///C:/Documents/page.htm", "d:/windows"});
    EXPECT_EQ(Completed(entries, "C:/"), "FILE:///C:/Documents/page.htm [11,18]");
    EXPECT_EQ(Completed(entries, "c:/d"), "FILE:///C:/Documents/page.htm [12,17]");
    EXPECT_EQ(Completed(entries, "d:/w"), "d:/windows [4,6]");
    // Two slashes are no file prefix.
    EXPECT_EQ(Completed(Sorted({"file://host/share"}), "host"), "");
}

TEST(AutoCompleteTest, AnEmptyTextCompletesToTheFirstEntry) {
    EXPECT_EQ(Completed(Sorted({"http://b.example/", "http://a.example/"}), ""), "http://a.example/ [7,10]");
    EXPECT_EQ(Completed(Sorted({"www.b.example", "about:blank"}), ""), "about:blank [0,11]");
}

TEST(AutoCompleteTest, OneEntryTriesItsStrippedFormFirst) {
    const auto entries = Sorted({"http://http.example/"});
    EXPECT_EQ(Completed(entries, "http"), "http://http.example/ [11,9]");
    // The typed prefix itself matches the entry as stored.
    EXPECT_EQ(Completed(Sorted({"http://a.example/"}), "http://a"), "http://a.example/ [8,9]");
    // A whole entry typed selects nothing.
    EXPECT_EQ(Completed(Sorted({"http://a.example/"}), "A.EXAMPLE/"), "http://a.example/ [17,0]");
}

TEST(AutoCompleteTest, PositionsCountCharactersAndCaseIsIgnoredBeyondAscii) {
    const auto entries = Sorted({"http://émile.example/"});
    EXPECT_EQ(Completed(entries, "ÉM"), "http://émile.example/ [9,12]");
    EXPECT_EQ(Completed(Sorted({"Ünïcode/ß"}), "ünï"), "Ünïcode/ß [3,6]");
}

TEST(AutoCompleteTest, MatchesTheEntryByEntryWalkOnRandomLists) {
    // Texts from a few letters, so that prefixes, letter case and near misses abound.
    std::mt19937 random(20240611);
    const std::vector<std::string> pieces{"h", "H", "t", "T", "p", "P", "tp", "http://", "HTTP://", "file:///",
                                          "File:///", "file://", ":", "/", "a", "A", "b"};
    auto text = [&](int maxPieces) {
        std::string result;
        const int count = std::uniform_int_distribution<int>(0, maxPieces)(random);
        for (int i = 0; i < count; ++i)
            result += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        return result;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> entries;
        const int size = std::uniform_int_distribution<int>(0, 40)(random);
        for (int i = 0; i < size; ++i) entries.push_back(text(4));
        entries = Sorted(entries);
        for (int probe = 0; probe < 20; ++probe) {
            const std::string typed = probe < 10 && !entries.empty()
                                          ? entries[random() % entries.size()].substr(0, random() % 9)
                                          : text(3);
            ASSERT_EQ(Completed(entries, typed), WalkedCompletion(entries, typed)) << "typed \"" << typed << "\"";
        }
    }
}

TEST(AutoCompleteTest, ContainsIgnoresCaseOnly) {
    const auto entries = Sorted({"http://a.example/", "B", "http://a.example/x"});
    EXPECT_TRUE(Contains(entries, "HTTP://A.Example/"));
    EXPECT_TRUE(Contains(entries, "b"));
    EXPECT_FALSE(Contains(entries, "a.example/"));
    EXPECT_FALSE(Contains(entries, "http://a.example"));
    EXPECT_FALSE(Contains(entries, ""));
    EXPECT_TRUE(Contains(Sorted({"", "a"}), ""));
    EXPECT_FALSE(Contains({}, "a"));
}

}  // namespace
