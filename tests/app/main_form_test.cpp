#include "app/main_form.h"

#include <gtest/gtest.h>

#include "playback/progress_bar.h"
#include "tests/support/fake_controls.h"
#include "tests/support/virtual_engine.h"

namespace tunekist {
namespace {

using Strings = std::vector<std::string>;

class MainTest : public ::testing::Test {
protected:
    MainTest() {
        BarPercent = 0, BarFill = 0;
        File1.path = "/music";
        for (const auto& [name, seconds] : {std::pair{"a", 10.5}, {"b", 11.5}, {"c", 200.0}}) {
            world->SetDuration(std::string("/music/") + name + ".mp3", seconds);
        }
    }

    // Queues songs as the song list's clicks would.
    void Queue(const Strings& names) {
        for (const auto& name : names) {
            ListView1.AddSong(name, "00:10", "1.000", name + ".mp3");
            ListView1.selected = ListView1.RowCount();
            main.playlist.ListView1_ItemClick();
        }
        world->log.clear();
    }
    std::shared_ptr<test::VirtualEngine> Engine() { return world->LastEngine(); }
    void Tick(double seconds = 1.0) {
        world->clock.Advance(seconds);
        main.PlayTimer_Timer();
    }

    std::shared_ptr<test::VirtualWorld> world = std::make_shared<test::VirtualWorld>();
    test::FakeForm form;
    test::FakeMessageBox messages;
    test::FakeShape Rand1;
    test::FakeFileList File1;
    test::FakeListBox List1;
    test::FakeListView ListView1, ListView2;
    test::FakeLabel Label3{"Play song"}, TijdLabel{"00:00"}, Label5{"Totaal : 00:00:00"}, BarLabel{"0%"};
    test::FakePictureBox Bar;
    test::FakeSlider VolSlider;
    test::FakeTimer PlayTimer;
    test::FakeDriveList Drive1;
    test::FakeDirList Dir1;
    test::FakeLabel Label1{"0 Songs"}, Label2{"Totaal : 00:00:00"};
    test::FakeDesktop desktop;
    Main main{MainControls{form, messages, Rand1, File1, List1, ListView1, ListView2, Label3, TijdLabel, Label5,
                           BarLabel, Bar, VolSlider, PlayTimer, Drive1, Dir1, Label1, Label2, desktop},
              test::VirtualEngineFactory(world)};
};

TEST_F(MainTest, FormLoadColoursTheWindowAndTheFrameAndPointsTheFileListHome) {
    main.Form_Load();
    EXPECT_EQ(form.backColor, RGB(0, 100, 0));
    EXPECT_EQ(Rand1.backColor, RGB(220, 220, 190));
    EXPECT_EQ(Rand1.borderColor, RGB(0, 0, 0));
    EXPECT_EQ(File1.path, "/opt/tunekist/");
    EXPECT_EQ(File1.pattern, "*.mp3");
    EXPECT_EQ(world->enginesCreated, 0);
}

TEST_F(MainTest, EveryCommandIsIgnoredOnAnEmptyPlaylist) {
    for (std::int16_t index = 0; index <= 6; ++index) main.Knop_Click(index);
    EXPECT_EQ(world->enginesCreated, 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Label3.caption, "Play song");
}

TEST_F(MainTest, RewAndForewClearTheBarBeforeTheyMove) {
    Queue({"c"});
    main.Knop_Click(0);
    Tick(100);
    EXPECT_FALSE(Bar.boxes.empty());
    main.Knop_Click(2);
    EXPECT_TRUE(Bar.boxes.empty());
    EXPECT_EQ(Engine()->Position(), 85);
    Tick(1);
    main.Knop_Click(3);
    EXPECT_TRUE(Bar.boxes.empty());
    EXPECT_EQ(Engine()->Position(), 101);
}

TEST_F(MainTest, TickShowsElapsedTimeWithHalvesToEvenAndTheBar) {
    Queue({"c"});
    main.Knop_Click(0);
    Tick(2.5);
    EXPECT_EQ(TijdLabel.caption, "00:02");
    Tick(1.0);
    EXPECT_EQ(TijdLabel.caption, "00:04");
    Tick(96.5);
    EXPECT_EQ(BarLabel.caption, "50%");
    EXPECT_EQ(Bar.boxes.back().y2, 97);
}

TEST_F(MainTest, PausedSongHoldsTheDisplayAndDoesNotEnd) {
    Queue({"c"});
    main.Knop_Click(0);
    Tick(7);
    main.Knop_Click(1);
    Tick(500);
    EXPECT_EQ(TijdLabel.caption, "00:07");
    EXPECT_TRUE(main.state.Playing);
    EXPECT_EQ(List1.ListCount(), 1);
}

TEST_F(MainTest, EndOfSongAdvancesTheQueueWithinOneTickAndTheEmptyQueueIsToldOnce) {
    Queue({"a", "b"});
    main.Knop_Click(0);
    Tick(10);
    EXPECT_EQ(List1.ListCount(), 2) << "10 s of a 10.5 s song: not yet ended";
    Tick(1);
    EXPECT_EQ(List1.items, Strings{"/music/b.mp3"});
    EXPECT_EQ(Label3.caption, "b");
    EXPECT_EQ(Label5.caption, "Totaal : 00:00:12");
    EXPECT_EQ(Engine()->Path(), "/music/b.mp3");
    EXPECT_EQ(TijdLabel.caption, "00:00");
    EXPECT_TRUE(messages.shown.empty());
    Tick(12);
    Tick(1);
    Tick(1);
    EXPECT_EQ(messages.shown, Strings{"Playlist vullen a.u.b. "});
    EXPECT_FALSE(PlayTimer.enabled);
    EXPECT_FALSE(main.state.Playing);
    EXPECT_TRUE(List1.items.empty());
    EXPECT_EQ(Label5.caption, "Totaal : 00:00:12") << "the total keeps what it showed";
}

TEST_F(MainTest, ForewToTheEndAdvancesAtTheNextTick) {
    Queue({"c", "a"});
    main.Knop_Click(0);
    Tick(190);
    main.Knop_Click(3);
    EXPECT_EQ(Engine()->Position(), 200);
    main.PlayTimer_Timer();
    EXPECT_EQ(Label3.caption, "a");
}

TEST_F(MainTest, UnplayableNextHeadStaysAtTheHeadWithoutMessage) {
    Queue({"a", "b"});
    world->FailPath("/music/b.mp3");
    main.Knop_Click(0);
    Tick(11);
    EXPECT_EQ(List1.items, Strings{"/music/b.mp3"});
    EXPECT_FALSE(main.state.Playing);
    EXPECT_FALSE(PlayTimer.enabled);
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace tunekist
