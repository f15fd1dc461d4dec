#include "app/splash.h"

namespace vantic {

namespace {

constexpr int kPollMs = 50;

Rect DesktopRect(const Displays& screens) {
    const auto monitors = screens.MonitorRects();
    if (monitors && !monitors->empty()) {
        return monitors->front();  // the primary screen comes first
    }
    return screens.WorkArea();
}

// Dispatches messages until more than the given time has passed. The tick
// count wraps after 49.7 days; the elapsed time is taken modulo 2^32 so a
// wrap during the wait does not stretch it.
void WaitDispatching(Platform& platform, std::uint32_t milliseconds) {
    Clock& clock = platform.Time();
    const std::uint32_t start = clock.TickMs();
    for (;;) {
        platform.Windows().PumpMessages();
        if (static_cast<std::uint32_t>(clock.TickMs() - start) > milliseconds) {
            return;
        }
        clock.Sleep(kPollMs);
    }
}

}  // namespace

Rect SplashRect(ImageSize shown, const Rect& desktop) {
    const int x = desktop.left + ((desktop.Width() - shown.width) >> 1);
    const int y = desktop.top + (desktop.Height() - shown.height) / 3;
    return Rect{x, y, x + shown.width, y + shown.height};
}

void ShowSplash(int pictureId, int seconds, SplashView& view, PictureSource& pictures,
                Platform& platform) {
    BitmapSurface original(1, 1);
    if (!view.Open()) {
        return;
    }
    // A missing picture leaves the 1 x 1 surface: the splash shows one
    // pixel, scaled.
    pictures.Load(pictureId, original);
    const Rect desktop = DesktopRect(platform.Screens());
    const ImageSize shown =
        FitToDesktop(original.Size(), ImageSize{desktop.Width(), desktop.Height()});
    BitmapSurface scaled(1, 1);
    scaled.Resize(shown.width, shown.height);
    if (scaled.Size() == shown) {
        (void)scaled.ResampleFrom(original);
    }
    view.Show(scaled, SplashRect(scaled.Size(), desktop));
    WaitDispatching(platform, static_cast<std::uint32_t>(seconds) * 1000u);
    view.Close();
}

}  // namespace vantic
