// The time editors' installation: the table pane makes their tables for
// their table types.

#include "editors/time/DayRoutineTable.h"
#include "editors/time/TimeEditors.h"
#include "editors/time/WeekRoutineTable.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/MainTableView.h"

#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

namespace {

TEST(TimeEditorsTest, InstallationGivesTheTableTypesTheirClasses) {
    uitest::CEditingRun run(true);
    InstallTimeEditors();
    {
        CMainTableView view;
        view.CreateTableBox(6, nullptr);
        EXPECT_NE(dynamic_cast<CDayRoutineTable*>(view.GetTableBox()), nullptr);
        view.CreateTableBox(7, nullptr);
        EXPECT_NE(dynamic_cast<CWeekRoutineTable*>(view.GetTableBox()), nullptr);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
