// Every pixel of rendered buttons: every state's face against a face worked out here from the
// palettes and the geometry the control promises, and the outline its window is cut to; then where
// the caption and which picture frame land, held and not, against each row's boxes written out.
#include <gtest/gtest.h>
#include <array>
#include <cmath>
#include <sstream>

#include "controls/vistabutton/bag_values.h"
#include "tests/vistabutton/button_fixture.h"

namespace tunekist::testing {
namespace {

using Colour = std::array<double, 3>;

// Each state's palette as RRGGBB, in state order: the band colours G0 to G7, then the edge colours E0 to E20.
constexpr const char* kPalettes[5] = {
    "F2F2F2 EBEBEB DDDDDD CFCFCF FBFBFB FAFAFA F6F6F6 F3F3F3 707070 FCFCFC 909090 777777 878888 919191 E8E8E8 "
    "757575 EAEAEA FAFAFA 707070 FCFCFC 868686 757575 888888 8F8F8F E4E4E4 757575 E2E2E2 ECECEC F3F3F3",
    "EAF6FD D9F0FC BEE6FD A7D9F5 F9FDFE F5FBFE EFF9FE E9F6FD 3C7FB1 FAFDFE 6693B5 4283B3 588AAF 699DC3 DFEBF3 "
    "3E80B2 E1EDF4 F7FBFE 3E80B2 F9FDFE 578AAF 3E80B2 5A8BB0 649BC3 D4E7F3 3E81B2 D3E6F2 DCF0FB E8F5FC",
    "E4F3FB C4E5F6 98D1EF 68B3DB B0C3CE 9ABACB 78AAC5 5592B5 2C628B 9EB0BA 395971 2E6086 335671 3A688A 869DAB "
    "2C5F86 869DAB BACBD5 2C628B AABCC7 4B7593 2E648C 476E8C 2F648A 63ACD3 2D6188 5592B5 6DB5DC 68B3DB",
    "ECF5FA E6F2F8 CEE7F4 BBDBED 34D5FE 33D4FD 38D2FC 2ACFFA 3C7FB1 34D5FE A0BED4 568FBA 9EBCD3 3292C3 2CC7F3 "
    "538EB9 2DC8F4 6BDFFD 3C7FB1 34D5FE 9BBBD2 518CB8 9EBCD3 3291C2 25C5F2 538EB9 25C4F1 54D2F7 29CEFA",
    "F4F4F4 F4F4F4 F4F4F4 F4F4F4 FCFCFC FCFCFC FCFCFC FCFCFC ADB2B5 FCFCFC B7BBBE AFB4B7 B1B5B8 C0C3C6 F1F2F2 "
    "AEB3B6 F2F2F3 FBFBFB ADB2B5 FCFCFC B0B5B8 AEB3B6 B1B6B9 C0C3C6 F3F3F4 AEB3B6 F2F2F3 FBFBFB FCFCFC"};

// The colour a button of W × H promises at (x, y) in a state; a gradient's rows hold the exact
// linear value between its end colours. The face is mirrored, but for the pressed face's lower accent.
Colour Worked(const std::vector<Colour>& palette, int state, int W, int H, int x, int y) {
    const auto G = [&](int i) { return palette[static_cast<std::size_t>(i)]; };
    const auto E = [&](int i) { return G(8 + i); };
    const auto lerp = [y](Colour top, Colour bottom, int from, int to) {
        for (int i = 0; i < 3; ++i) top[i] += (bottom[i] - top[i]) * (y - from) / (to - from);
        return top;
    };
    const int M = static_cast<int>(std::nearbyint(H / 2.2)), c = std::min(x, W - 1 - x);
    // The edge colour of each corner pixel by row (top 0 to 3, then H - 3 to H - 1) and column from
    // the side; -1: the face shows there.
    const int corner[7][3] = {{0, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, -1}, {17, 18, 19}, {14, 15, 16}, {0, 12, 13}};
    const int row = y >= H - 3 ? y - H + 7 : y < 4 ? y : -1;
    if (row >= 0 && c < 3 && corner[row][c] >= 0) return E(corner[row][c]);
    if (c == 0 || y == 0 || y == H - 1) return E(0);
    if (y == 1 || y == H - 2) return E(y == 1 ? 1 : 20);
    if (state == StateDown && y == 2 && c <= 6) return {220, 237, 246};
    if (state == StateDown && y == H - 3 && x >= 3 && x <= 6) return {109, 181, 220};  // on the left only
    if (state == StateDown && y == 3 && c == 2) return {220, 237, 245};
    if (state == StateFocus && (y == 2 || y == H - 3)) return y == 2 ? Colour{166, 233, 251} : Colour{132, 213, 239};
    if (state == StateFocus && c == 2)
        return y < M ? lerp({165, 232, 251}, {161, 230, 249}, 3, M) : lerp({146, 222, 245}, {133, 213, 240}, M, H - 3);
    if (c == 1) return y < M ? lerp(G(4), G(5), 3, M) : lerp(G(6), G(7), M, H - 3);
    return y < M ? lerp(G(0), G(1), 2, M) : lerp(G(2), G(3), M, H - 2);
}

// A size, a state reached by real input, and whether NoBackground is set.
class Faces : public ::testing::TestWithParam<std::tuple<QSize, std::int32_t, bool>> {};

// Any rounding of a gradient's rows lies within one step of the exact value; solid pixels are exact.
TEST_P(Faces, EveryPixelIsTheWorkedFaceAndTheWindowLeavesOutTheFourCorners) {
    const auto [size, state, noBackground] = GetParam();
    const int W = size.width(), H = size.height();
    HostedButton hosted;  // resized to the case's size, so the face and outline are seen to follow
    hosted.button->SetNoBackground(noBackground);
    hosted.button->resize(size);
    const char* reach[] = {"=0", "@1,1 =1", "@1,1 press =2", "focus =3", "disable =4"};
    hosted.Do(reach[state]);
    std::vector<Colour> palette;
    std::istringstream in(kPalettes[state]);
    for (unsigned rgb; in >> std::hex >> rgb;)
        palette.push_back({1.0 * (rgb >> 16), 1.0 * (rgb >> 8 & 255), 1.0 * (rgb & 255)});
    const bool cleared = noBackground && state != StateHover && state != StateDown;
    const QImage shown = hosted.Rendered();
    const QRegion outline = QRegion(0, 0, W, H) - QRegion(0, 0, 1, 1) - QRegion(0, H - 1, 1, 1) -
                            QRegion(W - 1, 0, 1, 1) - QRegion(W - 1, H - 1, 1, 1);
    // Faces under 6 × 6 are left to the painting; buttons of up to 2 × 2 are all corner.
    for (int i = 0, wrong = 0; W >= 6 && i < W * H; ++i) {
        const int x = i % W, y = i / W;
        const Colour want = cleared ? Colour{255, 255, 255} : Worked(palette, state, W, H, x, y);
        // The painted image holds the cut corners too; the window shows the rest.
        const ColorValue got =
            outline.contains(QPoint(x, y)) ? FromPixel(shown.pixel(x, y)) : hosted.button->hDC().Point(x, y);
        const double miss = std::max(
            {std::abs(RedOf(got) - want[0]), std::abs(GreenOf(got) - want[1]), std::abs(BlueOf(got) - want[2])});
        EXPECT_TRUE(miss < 1 || ++wrong > 5) << "(" << x << "," << y << ") is " << std::hex << got << ", not "
                                             << want[0] << "," << want[1] << "," << want[2];
    }
    // A click on a cut corner reaches the host.
    EXPECT_EQ(hosted.button->mask() & QRect(0, 0, W, H), outline);
    // A button that is all corner shows none of itself: where it lies, the host shows through.
    if (outline.isEmpty() && W > 0) {
        const QRect lies = hosted.button->geometry();
        const QImage shown = hosted.host->grab(lies).toImage();
        hosted.button->hide();
        EXPECT_EQ(hosted.host->grab(lies).toImage(), shown);
    }
}

// 25 high splits at row 11, 22 at row 10, 33 at row 15; 6 × 6 is the smallest face fully painted.
INSTANTIATE_TEST_SUITE_P(EveryState, Faces,
                         ::testing::Combine(::testing::Values(QSize(75, 25), QSize(60, 22), QSize(41, 33), QSize(6, 6)),
                                            ::testing::Values(StateNormal, StateHover, StateDown, StateFocus,
                                                              StateDisabled),
                                            ::testing::Bool()));
INSTANTIATE_TEST_SUITE_P(Tiny, Faces,
                         ::testing::Combine(::testing::Values(QSize(0, 0), QSize(1, 1), QSize(2, 2)),
                                            ::testing::Values(StateNormal), ::testing::Values(false)));

constexpr QRgb Green = qRgb(0, 255, 0);  // the command buttons' mask colour

// A picture whose every pixel names its own column and row, (100 + x, 100 + y, 77), but for
// diagonals of the mask colour.
QImage Pixels(int width, int height) {
    QImage pixels(width, height, QImage::Format_RGB32);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) pixels.setPixel(x, y, (x + y) % 7 ? qRgb(100 + x, 100 + y, 77) : Green);
    return pixels;
}

// `drawn` is where the picture shows and `from` the pixel of the picture shown at its top left;
// `held*` are the same once pressed (rows without them are not pressed). The caption's box stays
// put while held.
struct Placement {
    const char* name;
    int W, H;
    const char* caption;
    int pictureWidth, pictureHeight, frames;  // a width of 0: no picture
    QRect text{}, drawn{};
    QPoint from{};
    QRect heldDrawn{};
    QPoint heldFrom{};
    std::int16_t offset = 0;
    bool enabled = true, mask = true;
};

// The group (picture, a 5-pixel gap, the caption) is centred and cut to the inner area 3 pixels
// in from every side; a cut on the left pins the picture to it and left-aligns the caption. Two
// frames: the second is the disabled look; three: the third is the pressed look, and a disabled
// button shows its second frame.
const Placement kRows[] = {
    {"Caption", 75, 25, "Play", 0, 0, 1, {28, 8, 20, 10}},
    {"CaptionDisabled", 75, 25, "Play", 0, 0, 1, {28, 8, 20, 10}, {}, {}, {}, {}, 0, false},
    {"CaptionWrapped", 40, 60, "Play Play Play", 0, 0, 1, {10, 14, 20, 34}},
    {"TwoFrames", 75, 30, "", 40, 20, 2, {}, {28, 5, 20, 20}, {0, 0}, {28, 5, 20, 20}, {0, 0}},
    {"ThreeFrames", 75, 30, "", 60, 20, 3, {}, {28, 5, 20, 20}, {0, 0}, {28, 5, 20, 20}, {40, 0}},
    {"ThreeFramesDisabled", 75, 30, "", 60, 20, 3, {}, {28, 5, 20, 20}, {20, 0}, {28, 5, 20, 20}, {20, 0}, 0, false},
    {"DisabledWhileHeld", 75, 30, "", 40, 20, 2, {}, {28, 5, 20, 20}, {20, 0}, {30, 7, 20, 20}, {20, 0}, 2, false},
    {"WithoutMask", 75, 30, "", 40, 20, 2, {}, {28, 5, 20, 20}, {0, 0}, {}, {}, 0, true, false},
    {"Beside", 90, 30, "Rew", 40, 20, 2, {47, 11, 22, 8}, {22, 5, 20, 20}, {0, 0}, {22, 6, 20, 20}, {0, 0}, 1},
    {"OddWidth", 91, 30, "Rew", 40, 20, 2, {48, 11, 22, 8}, {22, 5, 20, 20}, {0, 0}, {23, 6, 20, 20}, {0, 0}, 1},
    {"PastTheRightEdge", 50, 60, "", 40, 20, 1, {}, {5, 20, 40, 20}, {0, 0}, {15, 30, 32, 20}, {0, 0}, 10},
    {"WiderThanTheButton", 50, 30, "Forew", 40, 20, 1, {33, 11, 14, 8}, {3, 5, 24, 20}, {16, 0}},
    {"TallerThanTheButton", 75, 25, "", 20, 40, 1, {}, {28, 3, 20, 19}, {0, 11}}};

class Placements : public ::testing::TestWithParam<Placement> {};

TEST_P(Placements, PutThePictureFrameAndTheCaptionWhereTheGroupFits) {
    const Placement& p = GetParam();
    HostedButton hosted(p.W, p.H);
    const QImage picture = p.pictureWidth ? Pixels(p.pictureWidth, p.pictureHeight) : QImage();
    PropertyBag bag = CommandButtonBag(p.caption);
    WritePicture(bag, "Picture", p.pictureWidth ? std::make_shared<const Picture>(picture) : nullptr);
    WriteInteger(bag, "Pictures", static_cast<std::int16_t>(p.frames));
    WriteBoolean(bag, "UseMaskColor", p.mask);
    WriteBoolean(bag, "Enabled", p.enabled);
    WriteInteger(bag, "PictureOffset", p.offset);
    hosted.button->ReadProperties(bag);
    for (const bool held : {false, true}) {
        SCOPED_TRACE(held ? "held" : "not held");
        if (held && p.heldDrawn.isNull()) break;
        if (held) hosted.Do(p.enabled ? "@5,5 press" : "enable @5,5 press disable");  // disabled while held
        const QRect drawn = held ? p.heldDrawn : p.drawn;
        const QPoint shift = (held ? p.heldFrom : p.from) - drawn.topLeft();
        const QImage face = hosted.Rendered();
        // The caption is black, or grey while disabled; a pixel of the picture has blue 77.
        QRect text, otherText;
        for (int i = 0, wrong = 0; i < p.W * p.H; ++i) {
            const QPoint at(i % p.W, i / p.W);
            const QRgb want = drawn.contains(at) ? picture.pixel(at + shift) : 0;
            const QRgb got = face.pixel(at);
            const bool right = want == Green ? (got == Green) != p.mask : want ? got == want : qBlue(got) != 77;
            EXPECT_TRUE(right || ++wrong > 5) << at.x() << "," << at.y() << ": " << std::hex << got << " not " << want;
            if (got == qRgb(0, 0, 0) || got == qRgb(131, 131, 131))
                (p.enabled == !qRed(got) ? text : otherText) |= QRect(at, at);
        }
        EXPECT_TRUE(otherText.isEmpty());
        EXPECT_EQ(text, p.text);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Placements, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist::testing
