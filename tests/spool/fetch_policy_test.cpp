// The fetch policy over a fake source: what happens to a document for each answer a
// source can give, over two cycles.
#include "spool/fetch_policy.h"

#include "spool/document_source.h"
#include "spool/test_station.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

struct FakeDocument {
    std::string bytes = "%PDF whole";
    DeleteOutcome outcome = DeleteOutcome::Deleted;
    bool goneOnUnknown = false;  // the deletion was done though its answer was lost
    long long grownBy = 0;       // bytes added at the source since the listing
};

class FakeSource : public DocumentSource {
public:
    SourceKind Kind() const override { return SourceKind::Store; }
    int List(const std::string&, std::vector<SourceEntry>& entries, ListStep&) override
    {
        for (const auto& [name, document] : documents)
            entries.push_back({name, static_cast<long long>(document.bytes.size())});
        return 0;
    }
    int Fetch(const SourceEntry& entry, const std::string& path) override
    {
        calls.push_back("fetch " + entry.name);
        WriteTestFile(path, documents.at(entry.name).bytes);
        return 0;
    }
    std::optional<long long> SizeNow(const SourceEntry& entry) override
    {
        auto found = documents.find(entry.name);
        if (found == documents.end())
            return -1;
        return static_cast<long long>(found->second.bytes.size()) + found->second.grownBy;
    }
    DeleteOutcome Delete(const SourceEntry& entry, int& code) override
    {
        calls.push_back("delete " + entry.name);
        FakeDocument& document = documents.at(entry.name);
        DeleteOutcome outcome = document.outcome;
        code = outcome == DeleteOutcome::Deleted ? 0 : 10;
        if (outcome == DeleteOutcome::Deleted || (outcome == DeleteOutcome::Unknown && document.goneOnUnknown))
            documents.erase(entry.name);
        return outcome;
    }
    void Report(const std::string& text, int, std::string& errorText) override
    {
        reports.push_back(text);
        errorText = text;
    }

    std::map<std::string, FakeDocument> documents;
    Lines calls;
    Lines reports;
};

Lines Names(const std::string& folder)
{
    Lines names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class FetchPolicyTest : public ::testing::Test {
protected:
    FetchPolicyTest() : station(test.Make(LocalKorvidSettings(test.folder.Path())))
    {
        fs::create_directories(spool);
    }
    bool Cycle() { return FetchFromSource(station, source, "Auslieferungen", "/kv/DELV", spool); }

    TestStation test;
    Station& station;
    FakeSource source;
    std::string spool = test.folder / "spool/DELV";
};

struct Case {
    const char* what;
    FakeDocument first;    // the document as the first cycle meets it
    FakeDocument second;   // as the second cycle meets it, when it is still at the source
    Lines spoolAfterFirst;  // printable names
    Lines reports;
};

TEST_F(FetchPolicyTest, EachAnswerOfTheSourceEndsWithTheDocumentPrintableOnce)
{
    const FakeDocument plain;
    const FakeDocument unknown{plain.bytes, DeleteOutcome::Unknown};
    const FakeDocument unknownButGone{plain.bytes, DeleteOutcome::Unknown, true};
    const FakeDocument refused{plain.bytes, DeleteOutcome::Refused};
    const FakeDocument growing{plain.bytes, DeleteOutcome::Deleted, false, 100};
    const std::string lost = "keine Antwort auf das Löschen der Datei a.pdf auf dem FTP-Lager: "
                             "die Kopie wartet, bis die nächste Abfrage entscheidet";
    const Case cases[] = {
        {"deleted", plain, plain, {"a.pdf"}, {}},
        {"answer lost, still at the source", unknown, plain, {}, {lost}},
        {"answer lost, gone from the source", unknownButGone, plain, {}, {lost}},
        {"still growing", growing, plain, {}, {}},
        {"refused", refused, refused, {}, {"konnte die Datei a.pdf nicht auf dem FTP-Lager löschen"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(spool);
        fs::create_directories(spool);
        source = FakeSource();
        source.documents["a.pdf"] = c.first;

        EXPECT_EQ(Cycle(), !c.spoolAfterFirst.empty());
        Lines printable;
        for (const std::string& name : Names(spool))
            if (name.ends_with(".pdf"))
                printable.push_back(name);
        EXPECT_EQ(printable, c.spoolAfterFirst);
        EXPECT_EQ(source.reports, c.reports);
        EXPECT_EQ(std::count(source.calls.begin(), source.calls.end(), "delete a.pdf"), c.first.grownBy ? 0 : 1);

        if (source.documents.count("a.pdf"))
            source.documents["a.pdf"] = c.second;
        Cycle();
        bool refused = c.second.outcome == DeleteOutcome::Refused;
        EXPECT_EQ(Names(spool), refused ? Lines{} : Lines{"a.pdf"});
        EXPECT_EQ(source.documents.count("a.pdf"), refused ? 1u : 0u);
    }
}

TEST_F(FetchPolicyTest, AnEmptyDownloadIsLoggedAndDeletedOnceAndAStrangeNameSkippedOnce)
{
    source.documents["empty.pdf"].bytes = "";
    source.documents["bad\x01name.pdf"] = FakeDocument();
    EXPECT_FALSE(Cycle());
    EXPECT_FALSE(Cycle());

    EXPECT_TRUE(Names(spool).empty());
    EXPECT_EQ(source.calls, (Lines{"fetch empty.pdf", "delete empty.pdf"}));
    EXPECT_EQ(Messages(FileLines(station.Settings().LogFileName)),
              (Lines{"Datei 'bad\x01name.pdf' in /kv/DELV übersprungen: kein einfacher Dateiname",
                     "ERROR: /kv/DELV/empty.pdf: hat LÄNGE 0 ! FTP-Problem !"}));
}

}  // namespace
