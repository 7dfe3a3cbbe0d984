#include "recording/playback.h"

#include <gtest/gtest.h>

#include "recording/key_recorder.h"
#include "recording/sequence_file.h"
#include "settings/settings_test_support.h"

namespace tastolink {
namespace {

Playback ThreePresses() { return Playback::OfSequence({{0, "M", {}}, {400, ":R", {}}, {250, "5", 20}}); }

// An unattended run ends with 0 only when every press of its file was written; a press not
// written, or one never played because the run was stopped or closed first, makes it 1.
TEST(Playback, EndsWithZeroOnlyWhenEveryPressWasWritten) {
    Playback all = ThreePresses();
    for (std::size_t press = 0; press < 3; ++press) all.Played(press, true);
    EXPECT_FALSE(all.Running());
    EXPECT_EQ(all.ExitCode(), 0);
    EXPECT_EQ(all.ProgressText(), "Воспроизведено: 3 из 3");

    Playback oneFailed = ThreePresses();
    oneFailed.Played(0, true);
    oneFailed.Played(1, false);
    EXPECT_EQ(oneFailed.ProgressText(), "Воспроизведение: 2 из 3");
    oneFailed.Played(2, true);
    EXPECT_EQ(oneFailed.ExitCode(), 1);

    Playback stopped = ThreePresses();
    stopped.Played(0, true);
    stopped.Played(1, true);
    stopped.Stop();
    EXPECT_EQ(stopped.ExitCode(), 1);
    EXPECT_EQ(stopped.ProgressText(), "Воспроизведено: 2 из 3");
}

Playback TwoLetters() {
    return Playback::OfText({{0, "5555", {}}, {0, "6", {}}, {1000, "66", {}}}, {1, 2, 3}, 160);
}

// A typed text counts its characters, as many as the presses sent so far have typed; unlike a
// file, it ends at the first press not written.
TEST(Playback, ATextCountsItsCharactersDoneAndEndsAtAPressNotWritten) {
    Playback text = TwoLetters();
    EXPECT_EQ(text.ProgressText(), "Набор: 0 из 160");
    text.Played(0, true);
    text.Played(1, true);
    EXPECT_EQ(text.ProgressText(), "Набор: 2 из 160");
    text.Stop();
    EXPECT_EQ(text.ProgressText(), "Набрано: 2 из 160");

    Playback cut = TwoLetters();
    cut.Played(0, true);
    cut.Played(1, false);
    EXPECT_FALSE(cut.Running());
    EXPECT_EQ(cut.ProgressText(), "Набрано: 1 из 160");
    EXPECT_EQ(cut.ExitCode(), 1);
}

// Each keypad command written is a line of the file at once, with the pause before it; when the
// disk is full the recording ends, says why, and what was written stays.
TEST(KeyRecorder, WritesEachKeyAtOnceAndEndsWhenTheFileRefusesALine) {
    FakeSettingsFiles files;
    std::uint64_t now = 5000;
    std::string ended;
    KeyRecorder recorder(
        files.Create("keys.txt"), [&] { return now; }, [&](const std::string& why) { ended = why; });
    recorder.Heard(heard::Written{{"AT+CKPD=\"M\"\r\n", "Меню"}});
    now += 400;
    recorder.Heard(heard::NotWritten{{"AT+CKPD=\"1\"\r\n", "1"}, heard::NotWritten::Why::Failed, "COM1"});
    recorder.Heard(heard::Written{{"AT+CMEC=2\r\n", "AT+CMEC=2"}});
    recorder.Heard(heard::Written{{"AT+CKPD=\":R\",20\r\n", "Вправо долго"}});
    EXPECT_EQ(files.files["keys.txt"], "0 M\r\n400 :R,20\r\n");
    files.full = true;
    recorder.Heard(heard::Written{{"AT+CKPD=\"5\"\r\n", "5"}});
    EXPECT_EQ(ended, "нет места");
    EXPECT_FALSE(recorder.Recording());
    files.full = false;
    recorder.Heard(heard::Written{{"AT+CKPD=\"6\"\r\n", "6"}});
    EXPECT_EQ(files.files["keys.txt"], "0 M\r\n400 :R,20\r\n");
}

// A key pressed on the phone is a line from the moment it went down, told at its release: after
// a line written meanwhile it follows at once. A key AT+CKPD can't press is left out.
TEST(KeyRecorder, WritesTheKeysPressedOnThePhoneAmongTheProgramsOwn) {
    FakeSettingsFiles files;
    std::uint64_t now = 5000;
    KeyRecorder recorder(
        files.Create("keys.txt"), [&] { return now; }, nullptr);
    const auto pressed = [&](std::string key, int atMs, std::optional<int> holdTenths) {
        using std::chrono::milliseconds;
        recorder.PhoneKeyPressed(
            {key, std::chrono::steady_clock::time_point(milliseconds(atMs)), holdTenths});
    };
    recorder.Heard(heard::Written{{"AT+CKPD=\"M\"\r\n", "Меню"}});
    pressed("5", 5300, std::nullopt);
    pressed(":X", 5400, 20);
    pressed(",", 5500, std::nullopt);
    now = 7000;
    recorder.Heard(heard::Written{{"AT+CKPD=\"E\"\r\n", "Красная"}});
    pressed("#", 6900, std::nullopt);
    now = 7100;
    recorder.Heard(heard::Written{{"AT+CKPD=\"S\"\r\n", "Зелёная"}});
    EXPECT_EQ(files.files["keys.txt"], "0 M\r\n300 5\r\n100 :X,20\r\n1600 E\r\n0 #\r\n100 S\r\n");
}

// A bad line is quoted in the user's words, its control characters as their codes.
TEST(KeySequenceFile, SaysWhyAFileCanNotBePlayedNamingItsLine) {
    FakeSettingsFiles files;
    files.files["bell.txt"] = "# ring\r\n0 M\r\n\r\n100 \x07";
    files.files["ok.txt"] = "0 M\n";
    using Read = std::variant<std::vector<RecordedPress>, std::string>;
    EXPECT_EQ(ReadKeySequenceFile(files, "gone.txt"), Read("Невозможно открыть «gone.txt»: Not found"));
    EXPECT_EQ(ReadKeySequenceFile(files, "bell.txt"),
              Read("Невозможно воспроизвести «bell.txt»: строка 4: «\\x07» — не клавиши для AT+CKPD: "
                   "управляющий символ"));
    EXPECT_EQ(ReadKeySequenceFile(files, "ok.txt"), Read(std::vector<RecordedPress>{{0, "M", {}}}));
}

}  // namespace
}  // namespace tastolink
