#include "ScreenFit.h"

#include <gtest/gtest.h>

namespace {

// Two screens side by side, the first with a panel along its top.
const QList<QRect> Screens = { QRect(0, 32, 1920, 1048), QRect(1920, 0, 1280, 1024) };

TEST(ScreenFitTest, FramesGoWhollyOntoTheScreenTheyOverlapMost)
{
    const struct
    {
        const char *name;
        QRect frame;
        std::optional<QRect> fitted;
    } cases[] = {
        { "inside stays", { 100, 100, 800, 600 }, QRect(100, 100, 800, 600) },
        { "on the second screen stays", { 2000, 50, 800, 600 }, QRect(2000, 50, 800, 600) },
        { "under the panel moves down", { 100, 0, 800, 600 }, QRect(100, 32, 800, 600) },
        { "off the left edge moves right", { -300, 200, 800, 600 }, QRect(0, 200, 800, 600) },
        { "past the bottom moves up", { 100, 900, 800, 600 }, QRect(100, 480, 800, 600) },
        { "mostly on the second goes there", { 1800, 100, 800, 600 }, QRect(1920, 100, 800, 600) },
        { "huge shrinks to the screen", { 0, 0, 100000, 100000 }, QRect(0, 32, 1920, 1048) },
        { "taller than the second", { 2500, -50, 600, 3000 }, QRect(2500, 0, 600, 1024) },
        { "off every screen", { 100000, 100000, 800, 600 }, std::nullopt },
        { "left of every screen", { -900, 100, 800, 600 }, std::nullopt },
        { "in the gap above the panel", { 100, 0, 800, 32 }, std::nullopt },
    };
    for (const auto &c : cases)
        EXPECT_EQ(ScreenFit::Fit(c.frame, Screens), c.fitted) << c.name;
    EXPECT_EQ(ScreenFit::Fit({ 0, 0, 10, 10 }, {}), std::nullopt) << "no screen";
}

} // namespace
