// The fetch policy over a fake source: what becomes of one document, over two cycles, for
// each answer a source can give.
#include "spool/fetch_policy.h"

#include "spool/fake_store.h"
#include "spool/test_station.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

struct Case {
    std::string name;
    FakeDocument first;    // as the first cycle meets it
    FakeDocument second;   // as the second cycle meets it, if it is still at the source
    Lines spoolAfterFirst;  // printable names
    Lines spoolAfterSecond;
    bool atSourceAtTheEnd;
    std::string logged;  // a line of the two cycles that names the document
};

TEST(FetchPolicy, EachAnswerOfTheSourceEndsWithTheDocumentPrintableOnceOrAtItsSource)
{
    const FakeDocument plain;
    auto lostFor = [](const std::string& name) {
        return "keine Antwort auf das Löschen der Datei " + name +
               " auf dem FTP-Lager: die Kopie wartet, bis die nächste Abfrage entscheidet";
    };
    const std::string lost = lostFor("a.pdf");
    const std::string growing = "Datei /kv/DELV/a.pdf wird noch geschrieben: sie wartet auf die nächste Abfrage";
    // Names a folder entry just holds, and one a store may list that it cannot hold: the
    // latter loses the end of its base, on a whole character.
    const std::string longest = std::string(251, 'x') + ".pdf";
    std::string tooLong, fitted;
    for (int i = 0; i < 127; ++i)
        tooLong += "\xc3\xa4";
    fitted = tooLong.substr(0, 250) + ".pdf";
    tooLong += ".pdf";
    const Case cases[] = {
        {"a.pdf", plain, plain, {"a.pdf"}, {}, false, ""},
        {"a.pdf", {plain.bytes, DeleteOutcome::Unknown}, plain, {}, {"a.pdf"}, false, lost},
        {"a.pdf", {plain.bytes, DeleteOutcome::Unknown, true}, plain, {}, {"a.pdf"}, false, lost},
        {"a.pdf", {plain.bytes, DeleteOutcome::Deleted, false, 100}, plain, {}, {"a.pdf"}, false, growing},
        {"a.pdf", {plain.bytes, DeleteOutcome::Deleted, false, 0, true}, plain, {"a.pdf"}, {}, false, ""},
        {"a.pdf", {plain.bytes, DeleteOutcome::Deleted, false, 100, true}, plain, {}, {"a.pdf"}, false, growing},
        {"a.pdf", {plain.bytes, DeleteOutcome::Refused}, plain, {}, {"a.pdf"}, false, "konnte die Datei a.pdf nicht auf dem FTP-Lager löschen"},
        {"e.pdf", {""}, plain, {}, {}, false, "ERROR: /kv/DELV/e.pdf: hat LÄNGE 0 ! FTP-Problem !"},
        {"b\x01.pdf", plain, plain, {}, {}, true, "Datei 'b\x01.pdf' in /kv/DELV übersprungen: kein einfacher Dateiname"},
        {longest, {plain.bytes, DeleteOutcome::Unknown, true}, plain, {}, {longest}, false, lostFor(longest)},
        {tooLong, {plain.bytes, DeleteOutcome::Unknown}, plain, {}, {fitted}, false, lostFor(tooLong)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " " + c.logged);
        TestStation test;
        Station& station = test.Make(LocalKorvidSettings(test.folder.Path()));
        const std::string spool = test.folder / "spool";
        fs::create_directories(spool);
        FakeStoreScript script;
        std::vector<std::string> calls;
        FakeStoreSource source(script, calls);
        std::map<std::string, FakeDocument>& documents = script.folders["/kv/DELV"];
        documents[c.name] = c.first;
        FetchContext context{station.Log(), test.desktop.display, station.Run().Fetches(), nullptr};
        auto cycle = [&] {
            bool arrived = FetchFromSource(context, source, "Auslieferungen", "/kv/DELV", spool);
            Lines printable;
            for (const auto& entry : fs::directory_iterator(spool))
                if (entry.path().extension() == ".pdf")
                    printable.push_back(entry.path().filename().string());
            EXPECT_EQ(arrived, !printable.empty());
            for (const std::string& name : printable)
                fs::remove(spool + "/" + name);
            return printable;
        };

        EXPECT_EQ(cycle(), c.spoolAfterFirst);
        if (documents.count(c.name))
            documents[c.name] = c.second;
        source.fetched.clear();
        EXPECT_EQ(cycle(), c.spoolAfterSecond);
        EXPECT_TRUE(fs::is_empty(spool));
        EXPECT_EQ(documents.count(c.name), c.atSourceAtTheEnd ? 1u : 0u);
        Lines log = Messages(FileLines(station.Settings().LogFileName));
        EXPECT_EQ(log, c.logged.empty() ? Lines{} : Lines{c.logged});
    }
}

}  // namespace
