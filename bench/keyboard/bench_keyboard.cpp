// The key road: one key event from the platform through the key source (the
// application's event filter) and the on-screen keyboard, which re-samples
// all 61 keys and marks the changed ones for repainting, to OnKey, which
// swallows it as the session does with typing keys.
#include "keyboard/KXKeyboard.h"
#include "platform/KeyCodes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

struct TRoad {
    QWidget Window;
    TKXKeyboard* Keyboard;
    std::int64_t Calls = 0;

    TRoad()
    {
        auto* layout = new QVBoxLayout(&Window);
        Keyboard = new TKXKeyboard(&Window);
        layout->addWidget(Keyboard);
        Keyboard->Enabled = true;
        Keyboard->OnKey = [this](std::uint32_t, int, int, std::uint8_t, bool) {
            ++Calls;
            return false;
        };
        Keyboard->show();
        Window.show();
        QApplication::processEvents();
    }

    void Send(int scanCode, bool down, quint64 stamp)
    {
        QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, 0, Qt::NoModifier,
                        ScanCodeToNativeScanCode(scanCode), 0, 0);
        event.setTimestamp(stamp);
        QSpontaneKeyEvent::setSpontaneous(&event);
        QApplication::sendEvent(Window.windowHandle(), &event);
    }
};

// Presses and releases of the 61 keys in turn: each event changes one key.
void BM_RelayKeyEvent(benchmark::State& state)
{
    TRoad road;
    std::vector<int> keys;
    for (const auto& button : road.Keyboard->Buttons())
        if (button->ScanCode != 42 && button->ScanCode != 54 && button->ScanCode != 58)
            keys.push_back(button->ScanCode); // Shift and Caps Lock change every key
    quint64 stamp = 0;
    std::size_t i = 0;
    for (auto _ : state) {
        const int scanCode = keys[(i / 2) % keys.size()];
        road.Send(scanCode, i % 2 == 0, ++stamp);
        ++i;
        if (i % 4096 == 0) {
            state.PauseTiming();
            QApplication::processEvents(); // let the repaints happen outside the timing
            state.ResumeTiming();
        }
    }
    state.counters["OnKey"] = benchmark::Counter(static_cast<double>(road.Calls) /
                                                 static_cast<double>(state.iterations()));
}
BENCHMARK(BM_RelayKeyEvent);

// Shift down and up: every key changes its caption and is marked for repainting.
void BM_RelayShift(benchmark::State& state)
{
    TRoad road;
    quint64 stamp = 0;
    bool down = true;
    for (auto _ : state) {
        road.Send(42, down, ++stamp);
        down = !down;
    }
}
BENCHMARK(BM_RelayShift);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
