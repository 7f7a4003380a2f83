// The side tools end to end: copy and move of the selected files by button
// and key (name clashes, the order of the visits, the list after a move,
// the report of the moves that failed); the quick preview of real pictures
// fitted into the "QuickView" frame, a sound without a player, the box off
// and on, and a previewed file renamed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "tests/e2e/driver/e2e_builder_win32.h"
#include "tests/e2e/e2e_cases.h"

namespace quorv::e2e {
namespace {

using Strings = std::vector<std::string>;

// Chooses the folder the browser opens on (the copy/move folder) with OK.
::testing::AssertionResult AcceptBrowser(const Program& program, const std::string& expectedFolder) {
    const FolderBrowser browser = program.WaitForFolderBrowser();
    if (!browser.window()) return ::testing::AssertionFailure() << "no folder browser";
    // Opened at a folder with a trailing backslash, Wine's browser shows it too.
    const auto shows = [&](const std::string& folder) { return ::lstrcmpiA(browser.Status().c_str(), folder.c_str()) == 0; };
    if (!WaitFor([&] { return shows(expectedFolder) || shows(expectedFolder + "\\"); }))
        return ::testing::AssertionFailure() << "the browser shows " << browser.Status();
    if (!browser.Ok() || !program.Settle()) return ::testing::AssertionFailure() << "no answer after OK";
    if (!WaitFor([&] { return !browser.window(); })) return ::testing::AssertionFailure() << "the browser stays";
    return ::testing::AssertionSuccess();
}

// The message the program shows next; its OK pressed.
MessageView TakeMessage(const Program& program) {
    const MessageView message = program.WaitForMessage();
    if (message.window) {
        message.Press("&OK");
        WaitFor([&] { return !message.window; });
        program.Settle();
    }
    return message;
}

// ---------------------------------------------------------------- copy and move

TEST(SideToolsTest, CopyAndMoveTheSelectedFilesByButtonAndKey) {
    ProgramFolder folder("copy-move");
    ASSERT_TRUE(folder.ok());
    const std::string topX = folder.MakeFile("src1\\x.txt", "top");
    const std::string a = folder.MakeFile("src1\\a.txt", "new a");
    const std::string b = folder.MakeFile("src1\\b.txt", "new b");
    const std::string c = folder.MakeFile("src2\\c.txt", "c");
    const std::string bottomX = folder.MakeFile("src2\\x.txt", "bottom");
    const std::string dest = folder.MakeFolder("dest");
    folder.MakeFile("dest\\b.txt", "old b");
    ASSERT_TRUE(folder.WriteHandoff({topX, a, b, c, bottomX}));
    SettingsRecord settings;
    settings.copyMoveFolder = dest;
    ASSERT_TRUE(folder.WriteSettings(settings));
    Program program(folder);
    ASSERT_TRUE(program.running());
    const Window list = program.Control(IDC_FILE_LIST);

    // Nothing selected: the message, no browser.
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {}));
    ASSERT_TRUE(program.Click(IDC_COPY_FILES));
    MessageView message = TakeMessage(program);
    EXPECT_EQ(message.text, "Please select the files first.");
    EXPECT_EQ(message.caption, "Message");
    EXPECT_FALSE(DialogOpen(program));

    // Copy by button: b.txt in the folder is replaced; the list stays.
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {1, 2}));
    ASSERT_TRUE(program.Click(IDC_COPY_FILES));
    ASSERT_TRUE(AcceptBrowser(program, dest));
    EXPECT_FALSE(DialogOpen(program));
    EXPECT_EQ(NamesIn(dest), (Strings{"a.txt", "b.txt"}));
    EXPECT_EQ(ReadBytes(dest + "\\a.txt"), "new a");
    EXPECT_EQ(ReadBytes(dest + "\\b.txt"), "new b");
    EXPECT_EQ(list.Items(), (Strings{topX, a, b, c, bottomX}));
    EXPECT_TRUE(Exists(a) && Exists(b));

    // Ctrl+C, from the bottom to the top: the top file's copy is the last
    // one and stays. The key copies files even from the filter box.
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {0, 4}));
    ASSERT_TRUE(program.Focus(IDC_FILTER));
    KeyPress('C', kCtrl);
    ASSERT_TRUE(AcceptBrowser(program, dest));
    EXPECT_EQ(ReadBytes(dest + "\\x.txt"), "top");
    EXPECT_EQ(list.Items(), (Strings{topX, a, b, c, bottomX}));

    // Ctrl+M, from the bottom to the top: the bottom file moves, the top
    // one finds its name taken and stays, with its entry, and is reported.
    ASSERT_TRUE(::DeleteFileA((dest + "\\x.txt").c_str()));
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {0, 4}));
    ASSERT_TRUE(program.Focus(IDC_FILE_LIST));
    KeyPress('M', kCtrl);
    ASSERT_TRUE(AcceptBrowser(program, dest));
    message = TakeMessage(program);
    EXPECT_EQ(message.text, "1 file could not be moved:\r\n" + topX);
    EXPECT_EQ(ReadBytes(dest + "\\x.txt"), "bottom");
    EXPECT_EQ(ReadBytes(topX), "top");
    EXPECT_FALSE(Exists(bottomX));
    EXPECT_EQ(list.Items(), (Strings{topX, a, b, c}));
    EXPECT_EQ(program.Status(), kRuleListNullStatus);

    // Move by button onto a name that is taken: both files stay where they were.
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {2, 3}));
    ASSERT_TRUE(program.Click(IDC_MOVE_FILES));
    ASSERT_TRUE(AcceptBrowser(program, dest));
    message = TakeMessage(program);
    EXPECT_EQ(message.text, "1 file could not be moved:\r\n" + b);
    EXPECT_EQ(ReadBytes(b), "new b");
    EXPECT_EQ(ReadBytes(dest + "\\b.txt"), "new b");
    EXPECT_FALSE(Exists(c));
    EXPECT_EQ(ReadBytes(dest + "\\c.txt"), "c");
    EXPECT_EQ(list.Items(), (Strings{topX, a, b}));
    ASSERT_TRUE(program.Close(true));

    // The folder chosen last is kept, with its backslash.
    SettingsRecord saved;
    ASSERT_TRUE(ParseSettings(ReadBytes(folder.SettingsPath()), saved));
    EXPECT_EQ(::lstrcmpiA(saved.copyMoveFolder.c_str(), (dest + "\\").c_str()), 0) << saved.copyMoveFolder;
}

TEST(SideToolsTest, FailedMovesAreReportedByCountAndTheFirstFew) {
    ProgramFolder folder("move-failures");
    ASSERT_TRUE(folder.ok());
    const Strings files = MakeFiles(folder, "many", {"f1.txt", "f2.txt", "f3.txt", "f4.txt", "f5.txt"});
    const std::string dest = folder.MakeFolder("taken");
    for (const char* name : {"f1.txt", "f2.txt", "f3.txt", "f4.txt"}) folder.MakeFile(std::string("taken\\") + name, "old");
    ASSERT_TRUE(folder.WriteHandoff(files));
    SettingsRecord settings;
    settings.copyMoveFolder = dest + "\\";
    ASSERT_TRUE(folder.WriteSettings(settings));
    Program program(folder);
    ASSERT_TRUE(program.running());

    ASSERT_TRUE(program.Click(IDC_SELECT_ALL));
    ASSERT_TRUE(program.Click(IDC_MOVE_FILES));
    ASSERT_TRUE(AcceptBrowser(program, dest));
    const MessageView message = program.WaitForMessage();
    ASSERT_TRUE(message.window);
    // Tried from the bottom: f5 moves, f4, f3, f2 and f1 fail.
    EXPECT_EQ(message.text, "4 files could not be moved:\r\n" + files[3] + "\r\n" + files[2] + "\r\n" + files[1] +
                                "\r\nand 1 more.");
    const RECT shot = UnionOf({program.main().ScreenRect(), message.window.ScreenRect()});
    EXPECT_TRUE(SaveSettledScreenshot(program, "move_failures", shot));
    ASSERT_TRUE(message.Press("&OK"));
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(program.Items(IDC_FILE_LIST), (Strings{files[0], files[1], files[2], files[3]}));
    EXPECT_EQ(NamesIn(folder.At("many")), (Strings{"f1.txt", "f2.txt", "f3.txt", "f4.txt"}));
    EXPECT_EQ(ReadBytes(dest + "\\f5.txt"), "f5.txt");
    EXPECT_EQ(ReadBytes(dest + "\\f1.txt"), "old");
    ASSERT_TRUE(program.Close(true));
}

// ---------------------------------------------------------------- quick preview

std::string PicturesFolder() { return HostToWindowsPath(QUORV_E2E_PICTURES); }

// Near a colour, for pictures that went through JPEG.
bool Near(COLORREF pixel, COLORREF colour, int tolerance = 48) {
    return pixel != CLR_INVALID && std::abs(GetRValue(pixel) - GetRValue(colour)) <= tolerance &&
           std::abs(GetGValue(pixel) - GetGValue(colour)) <= tolerance &&
           std::abs(GetBValue(pixel) - GetBValue(colour)) <= tolerance;
}

// Where a picture is drawn in the pane: reduced to fit with its
// proportions kept, never enlarged, centred.
RECT Fitted(int width, int height, const RECT& area) {
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    int w = areaWidth, h = areaHeight;
    if (width < height) w = width * areaHeight / height;
    if (width > height) h = height * areaWidth / width;
    w = std::min(w, width);
    h = std::min(h, height);
    const int left = area.left + (areaWidth - w) / 2;
    const int top = area.top + (areaHeight - h) / 2;
    return RECT{left, top, left + w, top + h};
}

// The extent of the pixels other than the background along a line of the
// pane: [first, last] of x (horizontal) or y.
std::pair<int, int> Extent(const ScreenImage& image, const RECT& pane, bool horizontal, int at, COLORREF background) {
    int first = -1, last = -1;
    const int from = horizontal ? pane.left : pane.top;
    const int to = horizontal ? pane.right : pane.bottom;
    for (int i = from; i < to; ++i) {
        const COLORREF pixel = horizontal ? image.At(i, at) : image.At(at, i);
        if (pixel == CLR_INVALID || Near(pixel, background, 6)) continue;
        if (first < 0) first = i;
        last = i;
    }
    return {first, last};
}

struct PictureCheck {
    const char* name;
    int width, height;
    bool horizontal;     // the bands lie at the left and right ends (else top and bottom)
    COLORREF middle;     // the colour between the bands
    COLORREF band;
};

// The pane shows the picture fitted: its extent along the banded axis and
// across it as the fitting rule puts it, the bands at both ends visible.
void ExpectPictureInPane(const Window& pane, const PictureCheck& check, COLORREF background) {
    const RECT area = pane.ClientOnScreen();
    const RECT fitted = Fitted(check.width, check.height, area);
    const int midX = (fitted.left + fitted.right) / 2;
    const int midY = (fitted.top + fitted.bottom) / 2;
    ASSERT_TRUE(WaitFor([&] { return Near(ScreenPixel(POINT{midX, midY}), check.middle); }, 5000))
        << check.name << std::hex << " shows " << ScreenPixel(POINT{midX, midY});
    const ScreenImage image(area);
    const auto across = Extent(image, area, true, midY, background);
    const auto down = Extent(image, area, false, midX, background);
    EXPECT_LE(std::abs(across.first - fitted.left), 2) << check.name << " left " << across.first;
    EXPECT_LE(std::abs(across.second - (fitted.right - 1)), 2) << check.name << " right " << across.second;
    EXPECT_LE(std::abs(down.first - fitted.top), 2) << check.name << " top " << down.first;
    EXPECT_LE(std::abs(down.second - (fitted.bottom - 1)), 2) << check.name << " bottom " << down.second;
    // Both bands are there: the whole picture, not a part of it.
    if (check.horizontal) {
        EXPECT_TRUE(Near(image.At(fitted.left + 2, midY), check.band)) << check.name;
        EXPECT_TRUE(Near(image.At(fitted.right - 3, midY), check.band)) << check.name;
    } else {
        EXPECT_TRUE(Near(image.At(midX, fitted.top + 2), check.band)) << check.name;
        EXPECT_TRUE(Near(image.At(midX, fitted.bottom - 3), check.band)) << check.name;
    }
    // Outside the picture: the pane's background.
    if (fitted.left - 3 >= area.left) {
        EXPECT_TRUE(Near(image.At(fitted.left - 3, midY), background, 6)) << check.name;
    }
    if (fitted.top - 3 >= area.top) {
        EXPECT_TRUE(Near(image.At(midX, fitted.top - 3), background, 6)) << check.name;
    }
}

TEST(SideToolsTest, QuickViewShowsPicturesFittedInItsFrame) {
    ProgramFolder folder("quickview");
    ASSERT_TRUE(folder.ok());
    const std::string pictures = folder.MakeFolder("pics");
    ASSERT_TRUE(::CopyFileA((PicturesFolder() + "\\landscape.jpg").c_str(), (pictures + "\\landscape.jpg").c_str(), FALSE));
    // Upper case: the preview's key is lower-cased.
    ASSERT_TRUE(::CopyFileA((PicturesFolder() + "\\portrait.jpg").c_str(), (pictures + "\\Portrait.JPG").c_str(), FALSE));
    const std::string sound = folder.MakeFile("pics\\sound.wav", std::string("RIFF\x24\0\0\0WAVEfmt ", 16));
    const std::string plain = folder.MakeFile("pics\\no extension", "x");
    const Strings files = {pictures + "\\landscape.jpg", pictures + "\\Portrait.JPG", sound, plain};
    ASSERT_TRUE(folder.WriteHandoff(files));
    ASSERT_TRUE(folder.WriteFavourite("New", {"FILENAME PREFIX \"new_\""}));
    Program program(folder);
    ASSERT_TRUE(program.running());
    ASSERT_TRUE(program.Checked(IDC_QUICKVIEW));
    const COLORREF background = kBackgroundColour[kSilver];

    // The pane lies in the frame: 4 pixels in at the sides and the bottom, 16 at the top.
    const Window frame = program.Control(IDC_QUICKVIEW_FRAME);
    const Window pane = program.main().Descendant("QuorvQuickPreview");
    ASSERT_TRUE(pane);
    const RECT frameRect = frame.RectIn(program.main());
    const RECT paneRect = pane.RectIn(program.main());
    EXPECT_EQ(paneRect.left, frameRect.left + 4);
    EXPECT_EQ(paneRect.top, frameRect.top + 16);
    EXPECT_EQ(paneRect.right, frameRect.right - 4);
    EXPECT_EQ(paneRect.bottom, frameRect.bottom - 4);
    // The file list ends 5 pixels left of the frame.
    EXPECT_EQ(program.Control(IDC_FILE_LIST).RectIn(program.main()).right, frameRect.left - 5);

    const PictureCheck landscape{"landscape", 600, 300, true, RGB(255, 0, 0), RGB(0, 255, 0)};
    const PictureCheck portrait{"portrait", 150, 450, false, RGB(0, 0, 255), RGB(255, 255, 0)};
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {0}));
    ExpectPictureInPane(pane, landscape, background);
    const RECT window = program.main().ScreenRect();
    EXPECT_TRUE(SaveSettledScreenshot(program, "quickview_landscape", window));

    // Several selected: the preview follows the focused one.
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {0, 1}, 1));
    ExpectPictureInPane(pane, portrait, background);
    EXPECT_TRUE(SaveSettledScreenshot(program, "quickview_portrait", window));

    // A sound with no player installed, and a file without extension: the
    // pane stays empty, without a message.
    for (int entry : {2, 3}) {
        ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {entry}));
        const RECT area = pane.ClientOnScreen();
        EXPECT_TRUE(WaitFor([&] { return ScreenImage(area).CountOtherThan(background, area) == 0; }, 5000))
            << entry;
        EXPECT_FALSE(DialogOpen(program)) << entry;
    }
    EXPECT_TRUE(program.running());

    // QuickView off: the frame and the pane go, the file list widens to 17
    // pixels from the right edge. On: they come back, the list narrows and
    // the focused file shows again.
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {0}));
    ASSERT_TRUE(program.Click(IDC_QUICKVIEW));
    ASSERT_FALSE(program.Checked(IDC_QUICKVIEW));
    EXPECT_FALSE(frame.Visible());
    EXPECT_FALSE(pane.Visible());
    const int clientWidth = program.main().ClientRect().right;
    EXPECT_EQ(program.Control(IDC_FILE_LIST).RectIn(program.main()).right, clientWidth - 17);
    ASSERT_TRUE(program.Click(IDC_QUICKVIEW));
    ASSERT_TRUE(program.Checked(IDC_QUICKVIEW));
    EXPECT_TRUE(frame.Visible());
    EXPECT_TRUE(pane.Visible());
    EXPECT_EQ(program.Control(IDC_FILE_LIST).RectIn(program.main()).right, frame.RectIn(program.main()).left - 5);
    ExpectPictureInPane(pane, landscape, background);

    // Maximized: the frame moves with the right edge, the pane follows and
    // the picture is fitted into its new place.
    ASSERT_TRUE(program.MouseClick(IDM_MAXIMIZE));
    ASSERT_TRUE(WaitFor([&] { return program.Maximized(); }));
    ASSERT_TRUE(program.Settle());
    const RECT wideFrame = frame.RectIn(program.main());
    const RECT widePane = pane.RectIn(program.main());
    EXPECT_EQ(wideFrame.right, program.main().ClientRect().right - 17);
    EXPECT_EQ(widePane.left, wideFrame.left + 4);
    EXPECT_EQ(widePane.top, wideFrame.top + 16);
    EXPECT_EQ(widePane.right, wideFrame.right - 4);
    EXPECT_EQ(widePane.bottom, wideFrame.bottom - 4);
    ExpectPictureInPane(pane, landscape, background);
    ASSERT_TRUE(program.MouseClick(IDM_MAXIMIZE));
    ASSERT_TRUE(WaitFor([&] { return !program.Maximized(); }));
    ASSERT_TRUE(program.Settle());

    // The previewed picture can be renamed.
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, 0));
    ASSERT_TRUE(program.Click(IDC_RENAME));
    EXPECT_TRUE(WaitFor([&] { return program.Status() == kRenamedStatus; }));
    EXPECT_EQ(NamesIn(pictures), (Strings{"new_Portrait.JPG", "new_landscape.jpg", "new_no extension", "new_sound.wav"}));
    ASSERT_TRUE(program.Close(true));

    SettingsRecord saved;
    ASSERT_TRUE(ParseSettings(ReadBytes(folder.SettingsPath()), saved));
    EXPECT_TRUE(saved.quickView);
}

TEST(SideToolsTest, QuickViewOffAtStartKeepsTheFrameHidden) {
    ProgramFolder folder("quickview-off");
    ASSERT_TRUE(folder.ok());
    const std::string picture = folder.At("landscape.jpg");
    ASSERT_TRUE(::CopyFileA((PicturesFolder() + "\\landscape.jpg").c_str(), picture.c_str(), FALSE));
    ASSERT_TRUE(folder.WriteHandoff({picture}));
    SettingsRecord settings;
    settings.quickView = false;
    ASSERT_TRUE(folder.WriteSettings(settings));
    Program program(folder);
    ASSERT_TRUE(program.running());
    EXPECT_FALSE(program.Checked(IDC_QUICKVIEW));
    EXPECT_FALSE(program.Control(IDC_QUICKVIEW_FRAME).Visible());
    const Window pane = program.main().Descendant("QuorvQuickPreview");
    ASSERT_TRUE(pane);
    EXPECT_FALSE(pane.Visible());
    EXPECT_EQ(program.Control(IDC_FILE_LIST).RectIn(program.main()).right, program.main().ClientRect().right - 17);
    // Selecting a picture shows nothing while the box is clear.
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {0}));
    EXPECT_FALSE(pane.Visible());
    ASSERT_TRUE(program.Click(IDC_QUICKVIEW));
    EXPECT_TRUE(pane.Visible());
    ExpectPictureInPane(pane, PictureCheck{"landscape", 600, 300, true, RGB(255, 0, 0), RGB(0, 255, 0)},
                        kBackgroundColour[kSilver]);
    ASSERT_TRUE(program.Close(true));
}

}  // namespace
}  // namespace quorv::e2e
