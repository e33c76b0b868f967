// Site checks and the land mask.
#include "message_capture.h"
#include "routines.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

bool onLand(float latitude, float longitudeEast) { return is_on_land(&latitude, &longitudeEast); }

vireo_test::Messages checkSite(float latitude, float longitudeWest, float zone, std::vector<int>& ip,
                               int priorStatus = 0) {
    ip.assign(14, 0);
    ip[0] = priorStatus;
    ip[3] = 12;
    return vireo_test::messagesOf([&] { cksite(&latitude, &longitudeWest, &zone, ip.data()); });
}

}  // namespace

TEST(Site, FlooredRemainder) {
    auto mod = [](float a, float b) { return float_mod(&a, &b); };
    EXPECT_EQ(mod(-1.0f, 360.0f), 359.0f);
    EXPECT_EQ(mod(370.0f, 360.0f), 10.0f);
    EXPECT_EQ(mod(-5.0f, 24.0f), 19.0f);
    EXPECT_EQ(mod(5.0f, -3.0f), -1.0f);  // the sign of the divisor
}

TEST(Site, LandMaskAtFixedPoints) {
    EXPECT_TRUE(onLand(52.0f, 13.0f));     // Berlin
    EXPECT_FALSE(onLand(30.0f, -40.0f));   // the North Atlantic
    EXPECT_TRUE(onLand(-33.9f, 151.2f));   // Sydney
    EXPECT_FALSE(onLand(0.0f, -140.0f));   // the Pacific
    // The Gulf of Guinea at 0 N, 0 E: the mask's source marks a one-metre island there,
    // which is no land to put a site on.
    EXPECT_FALSE(onLand(0.0f, 0.0f));
    EXPECT_TRUE(onLand(6.0f, 0.0f));  // Ghana, north of it
    for (float longitude = -179.0f; longitude <= 180.0f; longitude += 7.0f) {
        EXPECT_FALSE(onLand(90.0f, longitude)) << longitude;  // the first row is all sea
        EXPECT_TRUE(onLand(-90.0f, longitude)) << longitude;  // the last all land
    }
    // Shifted longitudes that round to 360 meet the row's terminating NUL: sea, even at
    // the South Pole; the same place written as 180.4 east is land.
    EXPECT_FALSE(onLand(-90.0f, -179.5f));
    EXPECT_TRUE(onLand(-90.0f, 180.4f));
    EXPECT_TRUE(onLand(52.0f, 13.0f + 360.0f));
    // Nothing outside the mask, and nothing undefined for values that are no place.
    EXPECT_FALSE(onLand(90.6f, 0.0f));
    EXPECT_FALSE(onLand(NAN, 13.0f));
    EXPECT_FALSE(onLand(52.0f, NAN));
    EXPECT_FALSE(onLand(52.0f, INFINITY));
    (void)onLand(52.0f, 3.0e38f);  // no cell to speak of, but no read outside the mask
}

TEST(Site, SiteAtSeaIsShownNotCounted) {
    const float latitude = 30.0f, longitude = -40.0f;
    const int block = 12;
    int result = -1;
    const auto m = vireo_test::messagesOf([&] { result = check_coordinates(&latitude, &longitude, &block); });
    EXPECT_EQ(result, 0);
    ASSERT_EQ(m.codes, std::vector<int>{202129});
    EXPECT_EQ(m.records[0]["s0"], "30\xC2\xB0 N, 40\xC2\xB0 W");
    EXPECT_EQ(m.records[0]["i3"], "12");
    const float south = -23.7f, east = 133.9f;  // Alice Springs
    const auto s = vireo_test::messagesOf([&] { check_coordinates(&south, &east, &block); });
    // A land cell: no message.
    EXPECT_EQ(s.codes, std::vector<int>{});
    const float coral = -15.0f, sea = 155.0f;
    const auto c = vireo_test::messagesOf([&] { check_coordinates(&coral, &sea, &block); });
    ASSERT_EQ(c.codes, std::vector<int>{202129});
    EXPECT_EQ(c.records[0]["s0"], "15\xC2\xB0 S, 155\xC2\xB0 E");
}

TEST(Site, RangeErrorsAreCountedAndSkipTheOtherChecks) {
    std::vector<int> ip;
    auto m = checkSite(95.0f, 400.0f, 24.0f, ip);
    EXPECT_EQ(m.codes, (std::vector<int>{305033, 305082, 305034}));
    EXPECT_EQ(ip[0], 305033);  // the first error of the call stays
    EXPECT_EQ(m.records[0]["r0"], "95");
    EXPECT_EQ(m.records[0]["i3"], "12");
    m = checkSite(NAN, 0.0f, NAN, ip);
    EXPECT_EQ(m.codes, (std::vector<int>{305033, 305034}));
    m = checkSite(52.5f, -13.4f, -14.6f, ip);  // rounds to -15
    EXPECT_EQ(m.codes, std::vector<int>{305034});
    // An error the block found before: no land or zone check (this site is at sea).
    m = checkSite(30.0f, 40.0f, 3.0f, ip, 305011);
    EXPECT_EQ(m.codes, std::vector<int>{});
    EXPECT_EQ(ip[0], 305011);
}

TEST(Site, LandAndZoneWarningsLeaveStatusClear) {
    std::vector<int> ip;
    // Longitude -13.4 (13.4 east) with zone 23 (one hour east): |15 * 23 - 346.6| = 1.6.
    auto m = checkSite(52.5f, -13.4f, 23.0f, ip);
    EXPECT_EQ(m.codes, std::vector<int>{});
    m = checkSite(52.5f, 346.6f, 23.4f, ip);  // 23.4 rounds to 23
    EXPECT_EQ(m.codes, std::vector<int>{});
    // 30 N, 40 W: at sea, shown with its place; the run may still start.
    m = checkSite(30.0f, 40.0f, 3.0f, ip);
    ASSERT_EQ(m.codes, std::vector<int>{202129});
    EXPECT_EQ(m.records[0]["s0"], "30\xC2\xB0 N, 40\xC2\xB0 W");
    EXPECT_EQ(ip[0], 0);
    // Denver with the zone of Berlin.
    m = checkSite(39.74f, 105.18f, 23.0f, ip);
    EXPECT_EQ(m.codes, std::vector<int>{205135});
    EXPECT_EQ(ip[0], 0);
    EXPECT_EQ(checkSite(39.74f, 105.18f, 7.0f, ip).codes, std::vector<int>{});
    // Near Greenwich the zones 23 and 0 meet longitudes on either side.
    EXPECT_EQ(checkSite(51.5f, 0.1f, 0.0f, ip).codes, std::vector<int>{});
    EXPECT_EQ(checkSite(51.5f, 359.9f, 0.0f, ip).codes, std::vector<int>{});
    EXPECT_EQ(checkSite(48.9f, -2.3f, 23.0f, ip).codes, std::vector<int>{});
    EXPECT_EQ(checkSite(48.9f, -2.3f, 12.0f, ip).codes, std::vector<int>{205135});
    // Eastern zones written as negative hours west fit their longitudes as their
    // equivalents 0 to 23 do: Berlin at -1, Auckland at -12 and -13, Kiritimati at -14.
    EXPECT_EQ(checkSite(52.5f, -13.4f, -0.6f, ip).codes, std::vector<int>{});
    EXPECT_EQ(checkSite(-36.85f, -174.76f, -12.0f, ip).codes, std::vector<int>{});
    EXPECT_EQ(checkSite(-36.85f, -174.76f, -13.0f, ip).codes, std::vector<int>{});
    EXPECT_EQ(checkSite(-36.85f, -174.76f, 12.0f, ip).codes, std::vector<int>{});
    m = checkSite(1.87f, 157.4f, -14.4f, ip);
    for (int code : m.codes) EXPECT_EQ(code, 202129);  // a small island may be sea on the mask
    EXPECT_EQ(ip[0], 0);
    EXPECT_EQ(checkSite(39.74f, 105.18f, -7.0f, ip).codes, std::vector<int>{205135});
}
