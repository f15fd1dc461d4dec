#include "server/demo_venue.h"

namespace vantic::server::demo {

namespace {

constexpr Clip kHarborFood[] = {
    {"food_court_menu.jpg", 0, "loop from 10:00 to 21:00", "All", 0, 0, "Menu boards"},
    {"spring_sale.mpg", 0, "loop", "All", -20, 10, "Spring sale, all stores"},
    {"winter_clearance.mpg", 0, "loop", "All", -60, -5, "Ended last week"},
    {"mall_music_mix.mp3", 2, "loop", "All", 0, 0, ""},
};

constexpr Clip kHarborEntrance[] = {
    {"spring_sale.mpg", 0, "loop", "All", -20, 10, "Spring sale, all stores"},
    {"store_directory.jpg", 0, "4/hour", "All", 0, 0, ""},
    {"easter_hours.jpg", 0, "loop", "All", 6, 20, "Starts next week"},
    {"mall_music_mix.mp3", 2, "loop", "All", 0, 0, ""},
};

constexpr Clip kHarborCinema[] = {
    {"cinema_trailers.mp4", 0, "loop", "All", 0, 0, "Updated every Thursday"},
    {"popcorn_combo.jpg", 0, "6/hour from 12:00 to 23:00", "All", 0, 0, ""},
    {"spring_sale.mpg", 1, "loop", "Weekends", -20, 10, ""},
};

constexpr Clip kClinicWaiting[] = {
    {"flu_shot_reminder.mpg", 0, "loop", "All", 0, 0, "Seasonal"},
    {"clinic_hours.jpg", 0, "loop", "Weekdays", 0, 0, ""},
    {"healthy_living.wmv", 0, "loop", "All", 0, 0, ""},
    {"calm_piano.mp3", 3, "loop", "All", 0, 0, "Quiet background"},
};

constexpr Clip kClinicPharmacy[] = {
    {"prescription_pickup.jpg", 0, "loop", "All", 0, 0, ""},
    {"flu_shot_reminder.mpg", 0, "loop", "All", 0, 0, "Seasonal"},
};

constexpr Clip kHotelLobby[] = {
    {"welcome_guests.mpg", 0, "loop", "All", 0, 0, ""},
    {"spa_offers.jpg", 0, "loop from 07:00 to 22:00", "All", 0, 0, ""},
    {"lobby_jazz.mp3", 2, "loop", "All", 0, 0, ""},
};

constexpr Clip kHotelConference[] = {
    {"conference_schedule.jpg", 0, "loop", "Weekdays", 0, 0, "Replace daily"},
    {"welcome_guests.mpg", 0, "2/hour", "All", 0, 0, ""},
};

constexpr Clip kBakery[] = {
    {"bakery_specials.jpg", 0, "loop from 06:00 to 14:00", "All", 0, 0, ""},
    {"fresh_bread.mpg", 0, "loop", "All", 0, 0, ""},
};

constexpr Clip kBusTerminal[] = {
    {"route_changes.jpg", 0, "loop", "All", 0, 0, "From the transit office"},
    {"city_news.mpg", 0, "loop", "All", 0, 0, ""},
};

constexpr Clip kLibrary[] = {
    {"reading_club.jpg", 0, "loop", "All", 0, 0, ""},
    {"library_events.mpg", 0, "loop", "All", 0, 0, ""},
    {"quiet_please.jpg", 1, "12:00", "All", 0, 0, "Once at noon"},
};

constexpr Clip kOffice[] = {
    {"test_pattern.mpg", 0, "loop", "All", 0, 0, "Bench test"},
};

constexpr Unit kUnits[] = {
    {1, "", "Office test player", "OK", "Office", kOffice, "Head office", "Bench 2", true},
    {1012, "Harbor Mall", "food court", "OK", "HarborMall", kHarborFood, "Harbor Mall",
     "Food court, west wall", true},
    {1017, "Harbor Mall", "north entrance", "OK", "HarborMall", kHarborEntrance, "Harbor Mall",
     "North entrance kiosk", true},
    {1023, "Harbor Mall", "cinema queue", "Late Calling In", "HarborMall", kHarborCinema,
     "Harbor Mall", "Cinema level 2", true},
    {1024, "Riverside Clinic", "waiting room", "OK", "Riverside", kClinicWaiting,
     "Riverside Clinic", "Main waiting room", false},
    {1031, "Riverside Clinic", "pharmacy counter", "Check Network Connection", "Riverside",
     kClinicPharmacy, "Riverside Clinic", "Pharmacy", false},
    {1046, "Grand Hotel", "lobby", "OK", "GrandHotel", kHotelLobby, "Grand Hotel",
     "Lobby beside reception", false},
    {1058, "Grand Hotel", "conference level", "Late Calling In", "GrandHotel", kHotelConference,
     "Grand Hotel", "Conference level foyer", false},
    {1059, "", "Main St. bakery window", "OK", "Bakery", kBakery, "214 Main St.", "Front window",
     true},
    {1063, "", "Bus terminal bay 3", "Check Network Connection", "Transit", kBusTerminal,
     "Central bus terminal", "Bay 3 shelter", true},
    {1077, "", "Library reading room", "OK", "Library", kLibrary, "City library",
     "Reading room, first floor", true},
    {1082, "", "Warehouse spare (reset)", "Factory Defaults", "", {}, "", "", true},
};

}  // namespace

std::span<const Unit> Units() {
    return kUnits;
}

}  // namespace vantic::server::demo
