// Every pixel of every state's face, as the real button renders it, against a face worked out here
// from the palettes and the geometry the control promises; and the outline its window is cut to.
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

#include "tests/vistabutton/button_fixture.h"

namespace tunekist::testing {
namespace {

using Colour = std::array<double, 3>;

// Each state's palette as R,G,B: the band colours G0 to G7, then the edge colours E0 to E20.
constexpr const char* kPalettes[5] = {
    "242,242,242 235,235,235 221,221,221 207,207,207 251,251,251 250,250,250 246,246,246 243,243,243 "
    "112,112,112 252,252,252 144,144,144 119,119,119 135,136,136 145,145,145 232,232,232 117,117,117 234,234,234 "
    "250,250,250 112,112,112 252,252,252 134,134,134 117,117,117 136,136,136 143,143,143 228,228,228 117,117,117 "
    "226,226,226 236,236,236 243,243,243",
    "234,246,253 217,240,252 190,230,253 167,217,245 249,253,254 245,251,254 239,249,254 233,246,253 "
    "60,127,177 250,253,254 102,147,181 66,131,179 88,138,175 105,157,195 223,235,243 62,128,178 225,237,244 "
    "247,251,254 62,128,178 249,253,254 87,138,175 62,128,178 90,139,176 100,155,195 212,231,243 62,129,178 "
    "211,230,242 220,240,251 232,245,252",
    "228,243,251 196,229,246 152,209,239 104,179,219 176,195,206 154,186,203 120,170,197 85,146,181 "
    "44,98,139 158,176,186 57,89,113 46,96,134 51,86,113 58,104,138 134,157,171 44,95,134 134,157,171 "
    "186,203,213 44,98,139 170,188,199 75,117,147 46,100,140 71,110,140 47,100,138 99,172,211 45,97,136 "
    "85,146,181 109,181,220 104,179,219",
    "236,245,250 230,242,248 206,231,244 187,219,237 52,213,254 51,212,253 56,210,252 42,207,250 "
    "60,127,177 52,213,254 160,190,212 86,143,186 158,188,211 50,146,195 44,199,243 83,142,185 45,200,244 "
    "107,223,253 60,127,177 52,213,254 155,187,210 81,140,184 158,188,211 50,145,194 37,197,242 83,142,185 "
    "37,196,241 84,210,247 41,206,250",
    "244,244,244 244,244,244 244,244,244 244,244,244 252,252,252 252,252,252 252,252,252 252,252,252 "
    "173,178,181 252,252,252 183,187,190 175,180,183 177,181,184 192,195,198 241,242,242 174,179,182 242,242,243 "
    "251,251,251 173,178,181 252,252,252 176,181,184 174,179,182 177,182,185 192,195,198 243,243,244 174,179,182 "
    "242,242,243 251,251,251 252,252,252"};

std::vector<Colour> PaletteOf(int state) {
    std::vector<Colour> colours;
    std::istringstream in(kPalettes[state]);
    for (Colour c; in >> c[0] && in.ignore() >> c[1] && in.ignore() >> c[2];) colours.push_back(c);
    return colours;
}

// The face a button of W × H promises in a state: every pixel's colour, where a gradient runs
// the exact linear value between its end colours (unset pixels are NaN).
struct WorkedFace {
    WorkedFace(int w, int h) : W(w), H(h), pixels(static_cast<std::size_t>(w * h), Colour{NAN, NAN, NAN}) {}
    void Set(int x, int y, Colour c) {
        if (x >= 0 && x < W && y >= 0 && y < H) pixels[static_cast<std::size_t>(y * W + x)] = c;
    }
    // Columns x0..x1 of rows y0..y1, running from `top` on row `from` toward `bottom` on row `to`.
    void Band(int x0, int x1, int y0, int y1, Colour top, Colour bottom, int from, int to) {
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                Colour c;
                for (int i = 0; i < 3; ++i) c[i] = top[i] + (bottom[i] - top[i]) * (y - from) / (to - from);
                Set(x, y, c);
            }
        }
    }
    void Run(int x0, int x1, int y, Colour c) { Band(x0, x1, y, y, c, c, y, y + 1); }
    int W, H;
    std::vector<Colour> pixels;
};

WorkedFace Worked(int state, int W, int H) {
    const std::vector<Colour> p = PaletteOf(state);
    const auto G = [&](int i) { return p[static_cast<std::size_t>(i)]; };
    const auto E = [&](int i) { return p[static_cast<std::size_t>(8 + i)]; };
    const int M = static_cast<int>(std::nearbyint(H / 2.2));
    WorkedFace f(W, H);
    f.Band(2, W - 3, 2, M - 1, G(0), G(1), 2, M);
    f.Band(2, W - 3, M, H - 3, G(2), G(3), M, H - 2);
    for (const int x : {1, W - 2}) {
        f.Band(x, x, 3, M - 1, G(4), G(5), 3, M);
        f.Band(x, x, M, H - 4, G(6), G(7), M, H - 3);
    }
    if (state == StateDown) {  // the row H - 3 accent is on the left only
        f.Run(3, 6, 2, {220, 237, 246});
        f.Run(W - 7, W - 4, 2, {220, 237, 246});
        f.Run(3, 6, H - 3, {109, 181, 220});
        f.Set(2, 3, {220, 237, 245});
        f.Set(W - 3, 3, {220, 237, 245});
    }
    if (state == StateFocus) {
        f.Run(3, W - 4, 2, {166, 233, 251});
        f.Run(3, W - 4, H - 3, {132, 213, 239});
        for (const int x : {2, W - 3}) {
            f.Band(x, x, 3, M - 1, {165, 232, 251}, {161, 230, 249}, 3, M);
            f.Band(x, x, M, H - 4, {146, 222, 245}, {133, 213, 240}, M, H - 3);
        }
    }
    for (const int y : {0, H - 1}) f.Run(0, W - 1, y, E(0));
    for (const int x : {0, W - 1}) f.Band(x, x, 0, H - 1, E(0), E(0), 0, 1);
    f.Run(3, W - 4, 1, E(1));
    f.Run(3, W - 4, H - 2, E(20));
    // The corner pixels, left column by column (-1: not a corner pixel), mirrored on the right;
    // the outermost ones keep the border's E0.
    const int rows[7] = {0, 1, 2, 3, H - 3, H - 2, H - 1};
    const int corner[7][3] = {{0, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, -1}, {17, 18, 19}, {14, 15, 16}, {0, 12, 13}};
    for (int r = 0; r < 7; ++r) {
        for (int x = 0; x < 3; ++x) {
            if (corner[r][x] < 0) continue;
            f.Set(x, rows[r], E(corner[r][x]));
            f.Set(W - 1 - x, rows[r], E(corner[r][x]));
        }
    }
    return f;
}

void PutInState(HostedButton& hosted, std::int32_t state) {
    switch (state) {
        case StateHover: hosted.PointAt(QPoint(3, 3)); break;
        case StateDown: QTest::mousePress(hosted.button, Qt::LeftButton, {}, QPoint(3, 3)); break;
        case StateFocus: hosted.button->setFocus(); break;
        case StateDisabled: hosted.button->SetEnabled(false); break;
        default: break;
    }
    ASSERT_EQ(hosted.button->Fields().ButtonState, state);
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
    PutInState(hosted, state);
    const bool cleared = noBackground && state != StateHover && state != StateDown;
    const WorkedFace worked = cleared ? WorkedFace(W, H) : Worked(state, W, H);
    const QImage shown = hosted.Rendered();
    const QRegion outline = QRegion(0, 0, W, H) - QRegion(0, 0, 1, 1) - QRegion(0, H - 1, 1, 1) -
                            QRegion(W - 1, 0, 1, 1) - QRegion(W - 1, H - 1, 1, 1);
    int wrong = 0;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const Colour want = cleared ? Colour{255, 255, 255} : worked.pixels[static_cast<std::size_t>(y * W + x)];
            // The painted image holds the cut corners too; the window shows the rest.
            const ColorValue got = outline.contains(QPoint(x, y)) ? FromPixel(shown.pixel(x, y)) : hosted.button->hDC().Point(x, y);
            const Colour have{1.0 * RedOf(got), 1.0 * GreenOf(got), 1.0 * BlueOf(got)};
            bool near = true;
            for (int i = 0; i < 3; ++i) near = near && std::abs(have[i] - want[i]) < 1;
            if (!near && ++wrong <= 5) {
                ADD_FAILURE() << "(" << x << "," << y << ") is " << have[0] << "," << have[1] << "," << have[2]
                              << ", not " << want[0] << "," << want[1] << "," << want[2];
            }
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(hosted.button->mask(), outline);
    for (const QPoint corner : {QPoint(0, 0), QPoint(0, H - 1), QPoint(W - 1, 0), QPoint(W - 1, H - 1)}) {
        EXPECT_NE(QApplication::widgetAt(hosted.button->mapToGlobal(corner)), hosted.button) << "a click there reaches the host";
    }
    EXPECT_EQ(QApplication::widgetAt(hosted.button->mapToGlobal(QPoint(1, 0))), hosted.button);
}

// 25 high splits at row 11, 22 at row 10, 33 at row 15; 6 × 6 is the smallest face fully painted.
INSTANTIATE_TEST_SUITE_P(
    EveryState, Faces,
    ::testing::Combine(::testing::Values(QSize(75, 25), QSize(60, 22), QSize(41, 33), QSize(6, 6)),
                       ::testing::Values(StateNormal, StateHover, StateDown, StateFocus, StateDisabled),
                       ::testing::Bool()));

// Buttons of up to 2 × 2 pixels are all corner: nothing of them is in the outline or can be hit.
TEST(Outline, OfTinyButtonsHoldsNothing) {
    for (const int side : {0, 1, 2}) {
        HostedButton hosted(side, side);
        EXPECT_TRUE(side > 0 || hosted.button->mask().isEmpty());
        for (int x = 0; x < side; ++x) {
            for (int y = 0; y < side; ++y) {
                EXPECT_FALSE(hosted.button->mask().contains(QPoint(x, y)));
                EXPECT_NE(QApplication::widgetAt(hosted.button->mapToGlobal(QPoint(x, y))), hosted.button);
            }
        }
    }
}

}  // namespace
}  // namespace tunekist::testing
