#pragma once

#include "app/ui/fake_platform.h"
#include "app/ui/window_registry.h"
#include "catalogue/ui/main_window.h"
#include "common/error.h"
#include "settings/ui/text_output_settings_window.h"
#include "textview/table_text.h"
#include "textview/ui/text_view_window.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace songwick::testing {

using namespace Qt::StringLiterals;

// The program's windows with fake dialogs, message boxes, printer and clock, the main window
// on screen with a small table, and the text view and its settings window.
class TextViewFixture : public ::testing::Test {
protected:
    void SetUp() override {
        registry = std::make_unique<WindowRegistry>(services(), root.filePath(u"prop.dat"_s));
        registry->setEndProgramHandler([] {});
        registry->createWindows();
        view = registry->form8();
        settingsWindow = registry->form9();
        ASSERT_NE(view, nullptr);
        ASSERT_NE(settingsWindow, nullptr);
        mainWindow = registry->form4();
        activate(mainWindow);
        mainWindow->changeTable([](CatalogueGrid& grid) {
            grid.resize(7, 3);
            const QStringList header{u"№"_s,
                                     u"Имя файла"_s,
                                     u"Расположение (путь)"_s,
                                     u"Исполнитель и/или название песни"_s,
                                     u"D"_s,
                                     u"E"_s,
                                     u"Сделана..."_s};
            for (int column = 0; column < 7; ++column)
                grid.setCell(column, 0, header[column]);
            const QStringList first{u"1"_s,   u"Ночь.kar"_s, u"/песни/"_s, u"Кино - Ночь"_s,
                                    u"Цой"_s, u"Цой"_s,      u"Вася"_s};
            const QStringList second{u"V 2"_s,   u"Лето.kar"_s, u"/песни/"_s, QString(),
                                     u"слова"_s, u"музыка"_s,   QString()};
            for (int column = 0; column < 7; ++column) {
                grid.setCell(column, 1, first[column]);
                grid.setCell(column, 2, second[column]);
            }
        });
    }

    void TearDown() override {
        for (QWidget* window : QApplication::topLevelWidgets())
            window->hide();
        registry.reset();
    }

    PlatformServices services() {
        return PlatformServices{platform.messages, platform.dialogs, platform.desktop,
                                printer,           platform.clock,   platform.random};
    }

    // Makes a window the active one, as the user does by clicking it, and lets the
    // activations that follow arrive.
    static void activate(QWidget* window) {
        WindowRegistry::showWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        settle();
    }

    static void settle() {
        QCoreApplication::processEvents();
        QTest::qWait(20);
    }

    // The main window's entries that open the view: set the pending action and show it.
    void openView(TextViewMode mode) {
        mainWindow->TextViewMode = static_cast<decltype(mainWindow->TextViewMode)>(mode);
        activate(view);
    }

    QStringList rendering(TableTextLayout layout) const {
        return tableText(registry->grid(), layout, registry->settings(), platform.clock.value);
    }

    QTemporaryDir root;
    FakePlatform platform;
    FakePrinterAccess printer;
    std::unique_ptr<WindowRegistry> registry;
    TForm4* mainWindow = nullptr;
    TForm8* view = nullptr;
    TForm9* settingsWindow = nullptr;
};

} // namespace songwick::testing
