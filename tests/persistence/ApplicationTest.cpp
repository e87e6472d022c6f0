#include "platform/Application.h"
#include "platform/MessageBox.h"

#include "common/Messages.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(Application, ErrorsEscapingEventHandlersAreShownAndTheRunGoesOn)
{
    ASSERT_NE(dynamic_cast<TApplication*>(QCoreApplication::instance()), nullptr);
    std::vector<std::string> shown;
    const auto previous =
        TApplication::SetErrorReporter([&](const std::string& text) { shown.push_back(text); });

    QPushButton button("Throw");
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        if (++clicks == 1)
            throw std::runtime_error("629EC837");
    });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(shown, std::vector<std::string>{"629EC837"});

    // The same from a timer, through the event loop.
    QTimer::singleShot(0, [] { throw std::runtime_error("FB1904EA"); });
    QTest::qWait(20);
    EXPECT_EQ(shown.back(), "FB1904EA");
    TApplication::SetErrorReporter(previous);
}

TEST(Application, MessageHandlerShowsAMessageBox)
{
    InstallMessageBoxHandler();
    QString seen;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box && box->isVisible()) {
                seen = box->text();
                box->accept();
            }
        }
    });
    closer.start(10);
    ShowMessage("Создан новый пользователь.");
    closer.stop();
    SetMessageHandler({});
    EXPECT_EQ(seen, "Создан новый пользователь.");
}

} // namespace
