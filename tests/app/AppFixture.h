#pragma once

#include "Moments.h"
#include "app/AppContext.h"
#include "app/MainWin.h"
#include "store/TableDb.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

class QComboBox;

namespace quenmar::test {

/// A main window on a database of its own in a temporary folder, with the clock pinned at
/// 2022-11-07 12:00:00.000 (China Standard Time) unless a test moves it.
class AppFixture {
public:
    /// `services` stand in for the network of the draws refresh (default: offline).
    explicit AppFixture(draws::RefreshServices services = {});
    ~AppFixture();

    app::MainWin& window() { return *m_window; }
    app::MainPanel& panel();
    store::TableDb& db() { return *m_db; }
    /// What the window is built with; a change counts from the next restart().
    app::AppContext& context() { return m_context; }
    QString folder() const { return m_dir.path(); }
    double now() const { return m_now; }
    void setNow(double moment) { m_now = moment; }
    void setConfig(const QString& key, const QString& value);
    /// Rebuilds the window (a restart, on the same folder and database).
    void restart();

    /// Shows the window and waits until it is the active one: keys and shortcuts need that.
    bool showActive();
    /// Chooses an item of a picker as the user does.
    void choose(int methodIndex, int zodiacIndex);
    /// Types into the number box (method 1 must be chosen).
    void typeNumber(const QString& digits);
    void compute();
    QString status() const { return m_window->statusText(); }
    QString results() const;

private:
    QTemporaryDir m_dir;
    double m_now = 0.0;
    std::unique_ptr<store::TableDb> m_db;
    app::AppContext m_context;
    draws::RefreshServices m_services;
    std::unique_ptr<app::MainWin> m_window;
};

/// Runs `action` on the next modal dialog once it is open (GuaWin, a message box), if one
/// opens within 20 s.
void onNextModal(std::function<void(QWidget*)> action);

} // namespace quenmar::test
