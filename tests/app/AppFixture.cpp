#include "AppFixture.h"

#include "app/MainPanel.h"
#include "app/panels/ChoicePicker.h"
#include "app/panels/InputPanel.h"
#include "app/panels/RecordPanel.h"
#include "engine/Moment.h"
#include "support/IniFile.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace quenmar::test {

namespace {

// No network in tests: the draws refresh reports offline unless a test says otherwise.
draws::RefreshServices offline() {
    draws::RefreshServices services;
    services.isOnline = [] {
        return false;
    };
    services.fetchDraw = [](int) {
        return draws::DrawResult{};
    };
    return services;
}

} // namespace

AppFixture::AppFixture(draws::RefreshServices services)
    : m_now(at(2022, 11, 7, 12)), m_services(services.isOnline ? std::move(services) : offline()) {
    m_db = std::make_unique<store::TableDb>(m_dir.path().toStdString());
    m_context.programFolder = m_dir.path().toStdString();
    m_context.dataRoot = m_dir.path().toStdString();
    m_context.configFile = (m_dir.path() + QStringLiteral("/config.ini")).toStdString();
    m_context.db = m_db.get();
    m_context.clock = [this] {
        return ClockReading{m_now, -480};
    };
    m_context.showSplash = false;
    m_context.openHelpInViewer = false;
    restart();
}

AppFixture::~AppFixture() = default;

void AppFixture::restart() {
    m_window.reset();
    m_window = std::make_unique<app::MainWin>(m_context, m_services);
    m_window->fillHistory();
}

app::MainPanel& AppFixture::panel() {
    return *m_window->mainPanel();
}

void AppFixture::setConfig(const QString& key, const QString& value) {
    support::writeIniValue(m_context.configFile, "sys", key.toStdString(), value.toStdString());
}

bool AppFixture::showActive() {
    m_window->show();
    return QTest::qWaitForWindowActive(m_window.get());
}

void AppFixture::choose(int methodIndex, int zodiacIndex) {
    app::InputPanel* input = panel().inputPanel();
    if (methodIndex >= 0) {
        input->methodPicker()->select(methodIndex);
    }
    if (zodiacIndex >= 0) {
        input->zodiacPicker()->select(zodiacIndex);
    }
}

void AppFixture::typeNumber(const QString& digits) {
    QLineEdit* box = panel().inputPanel()->numberBox();
    box->clear();
    QTest::keyClicks(box, digits);
}

void AppFixture::compute() {
    QTest::mouseClick(panel().inputPanel()->computeButton(), Qt::LeftButton);
}

QString AppFixture::results() const {
    return m_window->mainPanel()->recordPanel()->resultText();
}

void onNextModal(std::function<void(QWidget*)> action) {
    // It gives up after 20 s, so that a dialog that never came cannot be answered in a later
    // test by a handler of this one.
    constexpr int kTicks = 2000;
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action, ticks = 0]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr || ++ticks == kTicks) {
            timer->stop();
            timer->deleteLater();
        }
        if (modal != nullptr) {
            action(modal);
        }
    });
    timer->start(10);
}

} // namespace quenmar::test
