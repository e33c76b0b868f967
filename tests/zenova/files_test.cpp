// The location list and the diagram file, byte for byte against the files in
// tests/zenova/golden/locations/ and tests/zenova/golden/diagrams/ (written independently of
// the code under test), and every rule for what a reader passes over or refuses.
#include "DiagramFile.h"
#include "Locations.h"
#include "run_vireo.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

using namespace zenova;

namespace {

std::string golden(const std::string& name) {
    const std::string path = vireo_test::sourceDir() + "/tests/zenova/golden/" + name;
    std::string bytes = vireo_test::readFile(path);
    if (bytes.empty()) {
        ADD_FAILURE() << "missing golden file " << path;
    }
    return bytes;
}

LocationLoad load(const std::string& bytes) {
    std::istringstream in(bytes);
    return loadLocations(in);
}

LocationTable table(const std::string& goldenName) {
    LocationLoad l = load(golden("locations/" + goldenName));
    EXPECT_TRUE(l.report.clean()) << goldenName;
    return l.table;
}

std::string saved(const LocationTable& t) {
    std::ostringstream out;
    saveLocations(out, t);
    return out.str();
}

std::string name40(const std::string& name) { return padRight(name, kNameWidth); }

DiagramFileRead readDiagram(const std::string& bytes) {
    std::istringstream in(bytes);
    return readDiagramFile(in);
}

std::string written(const DiagramFile& file) {
    std::ostringstream out;
    writeDiagramFile(out, file);
    return out.str();
}

// The golden diagram file with one line (1-based) replaced.
std::string withLine(int line, const std::string& text) {
    std::string bytes = golden("diagrams/brussels.ssd");
    std::size_t start = 0;
    for (int i = 1; i < line; ++i) {
        start = bytes.find("\r\n", start) + 2;
    }
    return bytes.replace(start, bytes.find("\r\n", start) - start, text);
}

}  // namespace

TEST(LocationList, ShippedListReadsWholeAndWritesBackByteForByte) {
    const std::string shipped = vireo_test::readFile(vireo_test::sourceDir() + "/zenova/data/Loc_def.lst");
    const LocationLoad l = load(shipped);
    EXPECT_TRUE(l.report.clean());
    EXPECT_GE(l.table.records.size(), 30u);
    const auto brussels = findByName(l.table, name40(std::string(kDefaultLocation)));
    ASSERT_TRUE(brussels.has_value());
    const LocationRecord& b = l.table.records[*brussels];
    EXPECT_EQ(b.longitudeText, "   4.35");
    EXPECT_EQ(b.latitudeText, " 50.85");
    EXPECT_EQ(b.timeLagText, "  1.0");
    for (const LocationRecord& r : l.table.records) {
        EXPECT_TRUE(r.isProtected()) << r.name;
    }
    // One byte per character: the Latin-1 letters of the list stay single bytes.
    EXPECT_TRUE(findByName(l.table, name40("Switzerland (Z\xfcrich)")).has_value());
    EXPECT_EQ(saved(l.table), shipped);
}

TEST(LocationList, DeletingMovesTheLastRecordIntoTheGap) {
    LocationTable t = table("abc.lst");
    EXPECT_EQ(saved(t), golden("locations/abc.lst"));
    ASSERT_EQ(deleteLocation(t, 0), TableChange::done);
    EXPECT_EQ(saved(t), golden("locations/abc-without-a.lst"));
    EXPECT_EQ(t.records[0].number, 1);
    EXPECT_EQ(t.records[1].number, 2);
    EXPECT_EQ(deleteLocation(t, 2), TableChange::noSuchRecord);
    ASSERT_EQ(deleteLocation(t, 1), TableChange::done);  // the last one: nothing moves
    ASSERT_EQ(deleteLocation(t, 0), TableChange::done);
    EXPECT_EQ(saved(t), "0\r\n");
    EXPECT_TRUE(load("0\r\n").report.clean());
}

TEST(LocationList, HoldsAtMost250Records) {
    const LocationTable full = table("capacity-250.lst");
    ASSERT_EQ(full.records.size(), kMaxLocations);
    LocationTable t = full;
    const LocationRecord last = t.records.back();
    t.records.pop_back();
    // At 249 the insert succeeds; a name taken already does not count as room.
    ASSERT_EQ(insertLocation(t, storedRecord(withoutTrailingBlanks(last.name), last.longitudeText,
                                             last.latitudeText, last.timeLagText)),
              TableChange::done);
    EXPECT_EQ(saved(t), golden("locations/capacity-250.lst"));
    // At 250 the table refuses before it looks at the name, and nothing changes.
    EXPECT_EQ(insertLocation(t, storedRecord("Place 001", "1.00", "1.00", "1.0")), TableChange::capacityReached);
    EXPECT_EQ(insertLocation(t, storedRecord("New place", "1.00", "1.00", "1.0")), TableChange::capacityReached);
    EXPECT_EQ(t, full);
}

TEST(LocationList, ShippedRecordsAreProtectedAndOthersChange) {
    LocationTable t = table("status.lst");
    const LocationRecord values = storedRecord("ignored", "0.50", "0.50", "0.5");
    EXPECT_EQ(updateLocation(t, 0, values), TableChange::protectedRecord);
    EXPECT_EQ(deleteLocation(t, 0), TableChange::protectedRecord);
    for (std::size_t i = 1; i < t.records.size(); ++i) {
        LocationRecord r = values;
        r.name = t.records[i].name;
        ASSERT_EQ(updateLocation(t, i, r), TableChange::done) << i;
    }
    EXPECT_EQ(saved(t), golden("locations/status-edited.lst"));
    EXPECT_EQ(updateLocation(t, 4, values), TableChange::noSuchRecord);
    // "ok" and blank statuses can go.
    LocationTable again = table("status.lst");
    EXPECT_EQ(deleteLocation(again, 2), TableChange::done);
    EXPECT_EQ(deleteLocation(again, 1), TableChange::done);
    EXPECT_EQ(again.records.size(), 2u);
}

// Names compare exactly, case included, in their stored 40-character form; an edit may keep
// its own name but not take another record's.
TEST(LocationList, NamesAreUniqueExactlyAsStored) {
    LocationTable t;
    ASSERT_EQ(insertLocation(t, storedRecord("Alps", "10.00", "46.00", "1.0")), TableChange::done);
    t.records[0].status = "no";
    EXPECT_EQ(insertLocation(t, storedRecord("ALPS", "10.00", "46.00", "1.0")), TableChange::done);
    EXPECT_EQ(insertLocation(t, storedRecord("alps", "10.00", "46.00", "1.0")), TableChange::done);
    EXPECT_EQ(saved(t), golden("locations/case.lst"));
    EXPECT_EQ(insertLocation(t, storedRecord("Alps  ", "0.00", "0.00", "0.0")), TableChange::duplicateName);
    EXPECT_EQ(insertLocation(t, storedRecord(std::string(45, 'x'), "0.00", "0.00", "0.0")), TableChange::done);
    EXPECT_EQ(insertLocation(t, storedRecord(std::string(41, 'x'), "0.00", "0.00", "0.0")),
              TableChange::duplicateName);  // both cut to the same 40 characters
    EXPECT_EQ(updateLocation(t, 2, storedRecord("ALPS", "1.00", "1.00", "1.0")), TableChange::duplicateName);
    EXPECT_EQ(updateLocation(t, 2, storedRecord("alps", "1.00", "1.00", "1.0")), TableChange::done);
    EXPECT_EQ(t.records[2].longitudeText, "   1.00");
    EXPECT_EQ(findByName(t, name40("ALPS")), std::optional<std::size_t>(1));
    EXPECT_EQ(findByName(t, "ALPS"), std::nullopt);  // only the stored form matches
}

TEST(LocationList, FieldsFillTheirColumns) {
    LocationTable t;
    ASSERT_EQ(insertLocation(t, storedRecord("West end", "-180.00", "-90.00", "-12.0")), TableChange::done);
    ASSERT_EQ(insertLocation(t, storedRecord("Near Greenwich", "7.50", "0.00", "0.0")), TableChange::done);
    ASSERT_EQ(insertLocation(t, storedRecord("Forty characters long, no blank after it", "180.00", "90.00", "12.0")),
              TableChange::done);
    EXPECT_EQ(saved(t), golden("locations/columns.lst"));
    EXPECT_EQ(t.records[0].longitudeText, "-180.00");
    EXPECT_EQ(t.records[1].longitudeText, "   7.50");
    EXPECT_EQ(load(saved(t)).table, t);
    // A line break typed into a name would split its line.
    EXPECT_EQ(storedRecord("a\nb\r", "1", "2", "3").name, name40("a b"));
    // A record holding its fields at other widths still keeps the columns.
    LocationRecord odd;
    odd.name = "Odd";
    odd.longitudeText = "1.5";
    odd.latitudeText = "2.5";
    odd.timeLagText = "0.5";
    odd.status = "ok";
    EXPECT_EQ(saved({{odd}}), "1\r\n  1  Odd                                         1.5       2.5    0.5  ok\r\n");
}

TEST(LocationList, TrailingBlanksOnly) {
    EXPECT_EQ(withoutTrailingBlanks("Forty characters long, no blank after it"),
              "Forty characters long, no blank after it");
    EXPECT_EQ(withoutTrailingBlanks(name40("Belgium (Brussels)")), "Belgium (Brussels)");
    EXPECT_EQ(withoutTrailingBlanks(std::string(40, ' ')), "");
    EXPECT_EQ(withoutTrailingBlanks(""), "");
    EXPECT_EQ(withoutTrailingBlanks("  lead kept "), "  lead kept");
    EXPECT_EQ(padLeft("12345678", 7), "2345678");
}

// Each rule for a line that does not follow the columns, and one message for all of them.
TEST(LocationList, MalformedLinesArePassedOverAndNamed) {
    const LocationLoad l = load(golden("locations/malformed.lst"));
    EXPECT_EQ(saved(l.table), golden("locations/malformed-rewritten.lst"));
    EXPECT_EQ(l.table.records[1].status, "  ");  // the short line padded
    const std::vector<PassedOverLine> expected{{5, LineFault::longitude},   {6, LineFault::latitude},
                                               {7, LineFault::timeLag},     {8, LineFault::longitude},
                                               {9, LineFault::recordNumber}, {10, LineFault::recordNumber}};
    EXPECT_EQ(l.report.passedOver, expected);
    EXPECT_EQ(l.report.announced, 12);
    EXPECT_EQ(l.report.recordLinesPresent, 10u);
    EXPECT_EQ(describeLoadReport(l.report, "Loc_def.lst"),
              "Parts of the location list \"Loc_def.lst\" were passed over: line 1 announces 12 records, but only 10 "
              "lines follow; lines passed over: 5 (longitude), 6 (latitude), 7 (time lag), 8 (longitude), 9 (no "
              "record number), 10 (no record number). They are left out when the list is next written.");
    // LF alone reads the same.
    std::string lf = golden("locations/malformed.lst");
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) {
        lf.erase(at, 1);
    }
    EXPECT_EQ(load(lf).table, l.table);
}

TEST(LocationList, CountsThatDisagreeWithTheLines) {
    const std::string full = golden("locations/capacity-250.lst");
    // More than 250 good records: the first 250 are read.
    std::string more = full;
    more.replace(0, 3, "253");
    for (const char* n : {"251", "252", "253"}) {
        more += std::string(n) + "  " + name40(std::string("Extra ") + n) + "   1.00      1.00    1.0  ok\r\n";
    }
    const LocationLoad over = load(more);
    EXPECT_EQ(over.table, load(full).table);
    EXPECT_EQ(over.report.beyondCapacity, 3u);
    EXPECT_NE(describeLoadReport(over.report, "x").find("3 records beyond the 250 the list can hold were not read"),
              std::string::npos);
    // A count below the lines: the rest is not read, and the message says so (blank lines
    // at the end are no loss).
    std::string fewer = golden("locations/abc.lst");
    fewer[0] = '2';
    fewer += "\r\n   \r\n";
    const LocationLoad short2 = load(fewer);
    EXPECT_EQ(short2.table.records.size(), 2u);
    EXPECT_EQ(short2.report.linesAfterRecords, 1u);
    EXPECT_NE(describeLoadReport(short2.report, "x").find("1 lines after the counted records were not read"),
              std::string::npos);
    // No count at all, an empty file, a negative count: no records, reported.
    for (const std::string& bytes : {std::string("abc\r\n  1  A"), std::string(), std::string("-3\r\n")}) {
        const LocationLoad none = load(bytes);
        EXPECT_TRUE(none.table.records.empty());
        EXPECT_TRUE(none.report.countUnreadable);
        EXPECT_NE(describeLoadReport(none.report, "Loc_def.lst").find("line 1 holds no record count"),
                  std::string::npos);
    }
    // A huge count reads what is there.
    const LocationLoad huge = load("99999999999999999999999  \r\n" + full.substr(full.find('\n') + 1, 75));
    EXPECT_EQ(huge.table.records.size(), 1u);
    EXPECT_EQ(describeLoadReport(load(full).report, "x"), "");
}

// Two windows on one list: the names this one inserted, edited or deleted take its version
// over the list as the other has written it since; every other name keeps the other's.
TEST(LocationList, ChangesOfTwoWindowsMergeByName) {
    const auto place = [](const std::string& name, const char* lon) { return storedRecord(name, lon, "1.00", "1.0"); };
    LocationRecord shipped = place("Shipped", "5.00");
    shipped.status = std::string(kShippedStatus);
    const LocationTable base{{place("A", "1.00"), place("B", "2.00"), shipped}};
    using Change = std::function<void(LocationTable&)>;
    const auto insert = [&](const char* name, const char* lon) -> Change {
        return [=](LocationTable& t) { EXPECT_EQ(insertLocation(t, place(name, lon)), TableChange::done); };
    };
    const auto edit = [&](const char* name, const char* newName, const char* lon) -> Change {
        return [=](LocationTable& t) {
            EXPECT_EQ(updateLocation(t, findByName(t, name40(name)).value(), place(newName, lon)), TableChange::done);
        };
    };
    const auto erase = [&](const char* name) -> Change {
        return [=](LocationTable& t) { EXPECT_EQ(deleteLocation(t, findByName(t, name40(name)).value()), TableChange::done); };
    };
    // The merged list as "name=longitude" in file order, a shipped record marked "*".
    const auto shown = [](const LocationTable& t) {
        std::string out;
        for (const LocationRecord& r : t.records) {
            out += (out.empty() ? "" : " ") + withoutTrailingBlanks(r.name) + "=" + r.longitudeText.substr(3) +
                   (r.isProtected() ? "*" : "");
        }
        return out;
    };
    const struct {
        const char* what;
        std::vector<Change> mine;
        std::vector<Change> theirs;
        const char* merged;
    } cases[] = {
        {"both insert", {insert("Alpha", "6.00")}, {insert("Bravo", "7.00")},
         "A=1.00 B=2.00 Shipped=5.00* Bravo=7.00 Alpha=6.00"},
        {"both edit", {edit("A", "A", "9.00")}, {edit("A", "A", "8.00"), edit("B", "B", "7.00")},
         "A=9.00 B=7.00 Shipped=5.00*"},
        {"deleted here, edited there", {erase("A")}, {edit("A", "A", "8.00")}, "Shipped=5.00* B=2.00"},
        {"edited here, deleted there", {edit("B", "B", "9.00")}, {erase("B")}, "A=1.00 Shipped=5.00* B=9.00"},
        {"deleted there", {insert("X", "3.00")}, {erase("A")}, "Shipped=5.00* B=2.00 X=3.00"},
        {"deleted by both", {erase("A")}, {erase("A"), insert("C", "4.00")}, "Shipped=5.00* B=2.00 C=4.00"},
        {"renamed here, edited there", {edit("A", "Z", "1.00")}, {edit("A", "A", "8.00")}, "Shipped=5.00* B=2.00 Z=1.00"},
        {"one name inserted by both", {insert("Same", "6.00")}, {insert("Same", "7.00")},
         "A=1.00 B=2.00 Shipped=5.00* Same=6.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LocationTable mine = base;
        LocationTable theirs = base;
        for (const Change& change : c.mine) {
            change(mine);
        }
        for (const Change& change : c.theirs) {
            change(theirs);
        }
        ASSERT_EQ(mergeLocations(base, mine, theirs), TableChange::done);
        EXPECT_EQ(shown(theirs), c.merged);
    }

    // A list the other filled: an insert here refuses and changes nothing, unless a deletion
    // here makes room.
    LocationTable full = base;
    for (int i = 0; full.records.size() < kMaxLocations; ++i) {
        insert(("Other " + std::to_string(i)).c_str(), "0.00")(full);
    }
    for (const bool deleteFirst : {false, true}) {
        LocationTable mine = base;
        if (deleteFirst) {
            erase("B")(mine);
        }
        insert("Alpha", "6.00")(mine);
        LocationTable theirs = full;
        EXPECT_EQ(mergeLocations(base, mine, theirs), deleteFirst ? TableChange::done : TableChange::capacityReached);
        EXPECT_EQ(theirs.records.size(), kMaxLocations);
        EXPECT_EQ(findByName(theirs, name40("Alpha")).has_value(), deleteFirst);
        EXPECT_EQ(theirs == full, !deleteFirst);
    }
}

TEST(DiagramFile, RoundTripOf106Lines) {
    const std::string bytes = golden("diagrams/brussels.ssd");
    const DiagramFileRead read = readDiagram(bytes);
    ASSERT_TRUE(read.file.has_value()) << read.fault.line << ' ' << read.fault.expected;
    const DiagramFile& f = *read.file;
    EXPECT_EQ(f.location, "Belgium (Brussels)");
    EXPECT_EQ(f.longitude, "4.35");
    EXPECT_EQ(f.latitude, "50.85");
    EXPECT_EQ(f.timeLag, "1.0");
    EXPECT_EQ(f.inclination, "90");
    EXPECT_EQ(f.orientation, "180");
    EXPECT_EQ(f.dateLabels[0], (DateLabelAnchors{{300, 100}, {700, 400}}));
    EXPECT_EQ(f.dateLabels[3].second, kHiddenAnchor);
    EXPECT_EQ(f.dateLabels[12], (DateLabelAnchors{kHiddenAnchor, {580, 340}}));
    EXPECT_EQ(f.hourLabels[0], kHiddenAnchor);
    EXPECT_EQ(f.hourLabels[5], (LabelAnchor{350, 241}));
    EXPECT_EQ(f.hourLabels[23], kHiddenAnchor);
    EXPECT_EQ(written(f), bytes);
    // LF alone, and lines after the 106th, read the same.
    std::string lf = bytes;
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) {
        lf.erase(at, 1);
    }
    EXPECT_EQ(readDiagram(lf + "more\n").file, read.file);
    // A Latin-1 name stays one byte a letter.
    DiagramFile z = f;
    z.location = "Norway (Troms\xf8)";
    EXPECT_EQ(written(z).substr(0, 16), "Norway (Troms\xf8)\r");
    EXPECT_EQ(readDiagram(written(z)).file, z);
}

// Each refusal names the first line that fails; nothing is taken from a refused file.
TEST(DiagramFile, RefusesWhatTheWindowsCouldNotHold) {
    const struct {
        int line;
        std::string text;
    } cases[] = {
        {2, "180.01"}, {2, "4,35"},  {2, "12345678"}, {3, "-90.5"},  {3, "5O.85"}, {4, "12.1"}, {4, "1.0 "},
        {5, "180"},    {5, "-1"},    {5, "4.5"},      {5, ""},       {5, "0090"},  {6, "361"},  {6, "abc"},
        {7, "1.5"},    {7, "10001"}, {58, ""},        {106, "-1e3"}, {80, "x"},
    };
    for (const auto& c : cases) {
        const DiagramFileRead read = readDiagram(withLine(c.line, c.text));
        EXPECT_FALSE(read.file.has_value()) << c.line << " '" << c.text << "'";
        EXPECT_EQ(read.fault.line, c.line) << c.text;
    }
    // What the main window's fields may hold passes: an empty or lone-minus coordinate
    // reads as 0 there.
    for (const auto& [line, text] : {std::pair{2, ""}, {3, "-"}, {4, "-0.0"}, {5, "179"}, {6, "360"}, {1, ""}}) {
        EXPECT_TRUE(readDiagram(withLine(line, text)).file.has_value()) << line << " '" << text << "'";
    }
    // A short file names the line where a value is missing.
    const std::string bytes = golden("diagrams/brussels.ssd");
    std::size_t cut = 0;
    for (int i = 0; i < 50; ++i) {
        cut = bytes.find("\r\n", cut) + 2;
    }
    const DiagramFileRead shortRead = readDiagram(bytes.substr(0, cut));
    EXPECT_FALSE(shortRead.file.has_value());
    EXPECT_EQ(describeDiagramFault(shortRead.fault, "alps.ssd"),
              "\"alps.ssd\" is no diagram file that Zenova can open: line 51 should hold a value, but the file ends "
              "before it; a diagram file has 106 lines. Nothing was changed.");
    EXPECT_EQ(readDiagram("").fault.line, 1);
    EXPECT_EQ(describeDiagramFault(readDiagram(withLine(5, "180")).fault, "a.ssd"),
              "\"a.ssd\" is no diagram file that Zenova can open: line 5 should hold the inclination, a whole number "
              "from 0 to 179. Nothing was changed.");
}

TEST(DiagramFile, SaveNames) {
    EXPECT_EQ(diagramSaveName("my.diagram.ssd"), "mydiagram");
    EXPECT_EQ(diagramSaveName("alps.ssd"), "alps");
    EXPECT_EQ(diagramSaveName("alps"), "alps");
    EXPECT_EQ(diagramSaveName("ssd"), "ssd");  // three characters stay
    EXPECT_EQ(diagramSaveName("ssd.ssd"), "ssd");
    EXPECT_EQ(diagramSaveName("alps.SSD"), "alpsSSD");
    EXPECT_EQ(diagramSaveName("a/b"), "ab");
    EXPECT_EQ(diagramSaveName("..\\..\\x"), "x");
    EXPECT_EQ(diagramSaveName("..."), "");
    EXPECT_EQ(diagramSaveName(".ssd"), "ssd");
}
