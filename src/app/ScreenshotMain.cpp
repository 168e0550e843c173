// quenmar-screenshot: renders the main window after a sample calculation into a PNG, for the
// README and for looking at the layout without a display (QT_QPA_PLATFORM=offscreen).
//
//   quenmar-screenshot OUTPUT.png [--scale FACTOR]
//                      [--window main|menu|about|lines|splash|update|expert|draws|check|start|export]
//
// "draws" and "check" show the two tabs of 开奖记录与对奖 after a month of sample draws was
// imported and a few sample calculations were saved and checked.
//
// "start" builds and shows the main window and ends without a picture: the start-up cost of a
// process, which quenmar-app-bench measures. "menu" is the main window with 文件 open, "about"
// the about box; "export" writes the sample calculation as 导出图片 and 导出PDF do (OUTPUT.png or
// OUTPUT.pdf).
#include "app/Application.h"
#include "app/ChartDocument.h"
#include "app/DrawHistoryWin.h"
#include "app/ExpertWin.h"
#include "app/FileDialog.h"
#include "app/LoadWin.h"
#include "app/MainPanel.h"
#include "app/MainWin.h"
#include "app/Resources.h"
#include "app/UiFont.h"
#include "app/UpdateWin.h"
#include "app/panels/ChoicePicker.h"
#include "app/panels/GuaWin.h"
#include "app/panels/InputPanel.h"
#include "engine/Moment.h"
#include "prediction/Calculation.h"
#include "store/RecordStore.h"
#include "store/TableDb.h"
#include "tally/NumberSet.h"

#include <QComboBox>
#include <QFile>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <iostream>
#include <optional>
#include <random>
#include <string>

namespace {

using namespace quenmar;

// A draw as the results page would give it, so the picture shows the panel filled.
draws::RefreshServices fixtureDraw() {
    draws::RefreshServices services;
    services.isOnline = [] {
        return true;
    };
    services.fetchDraw = [](int) {
        draws::DrawResult draw;
        draw.name = "快乐8";
        draw.issue = "2022283期";
        draw.date = "2022-11-07";
        draw.mainNumbers = "0307111518222629333740454951566064697275";
        return draw;
    };
    return services;
}

struct Options {
    std::string output;
    std::string window = "main";
};

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--scale" && i + 1 < argc) {
            qputenv("QT_SCALE_FACTOR", argv[++i]);
        } else if (arg == "--window" && i + 1 < argc) {
            options.window = argv[++i];
        } else {
            options.output = arg;
        }
    }
    if (options.output.empty()) {
        return std::nullopt;
    }
    return options;
}

QPixmap grabUpdateWindow() {
    update::UpdateOffer offer;
    offer.latestVersion = "V1.1.0";
    offer.day = "2026年12月1日";
    offer.size = 5242880;
    offer.md5 = "0123456789ABCDEF0123456789ABCDEF";
    offer.body = "修正若干问题;\n新增帮助文档;\n改进开奖数据的获取。";
    app::UpdateWin update(offer, {}, [] {});
    update.show();
    QApplication::processEvents();
    return update.grab();
}

QPixmap grabSplash() {
    app::LoadWin splash;
    splash.show();
    return splash.grab();
}

QPixmap grabLineEntry(const app::AppContext& context) {
    app::GuaWin lines(context.clock(), [](const app::HandEntry&) {});
    lines.panel()->linePicker(1)->setCurrentIndex(3);
    lines.panel()->linePicker(2)->setCurrentIndex(2);
    lines.show();
    return lines.grab();
}

// The expert chart of the sample calculation.
QPixmap grabExpertWindow(const app::AppContext& context) {
    CastRequest request;
    request.method = CastMethod::ByNumber;
    request.numberText = "38";
    request.zodiac = 1;
    const ClockReading now = context.clock();
    prepareRequest(request, kGameHappy8, now);
    app::ExpertWin expert(now.standardBiasMinutes, app::uiFont());
    expert.showCalculation(runCalculation(request));
    expert.show();
    QApplication::processEvents();
    return expert.grab();
}

// The main window after the first refresh tick and the sample calculation.
void showSample(app::MainWin& main) {
    main.show();
    main.fillHistory();
    app::MainPanel* panel = main.mainPanel();
    QMetaObject::invokeMethod(panel->refreshTimer(), "timeout");
    app::InputPanel* input = panel->inputPanel();
    input->methodPicker()->select(1);
    input->numberBox()->setText(QStringLiteral("38"));
    input->zodiacPicker()->select(1);
    input->computeButton()->click();
    for (int i = 0; i < 50 && panel->refreshInFlight(); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    QApplication::processEvents();
}

QPixmap grabMainWindow(const app::AppContext& context) {
    app::MainWin main(context, fixtureDraw());
    showSample(main);
    return main.grab();
}

// The main window with 文件 dropped down: the menu's own picture laid where it opens.
QPixmap grabMenu(const app::AppContext& context) {
    app::MainWin main(context, fixtureDraw());
    showSample(main);
    auto* file = main.findChild<QMenu*>(QStringLiteral("menuFile"));
    const QRect title = main.menuBar()->actionGeometry(file->menuAction());
    main.menuBar()->setActiveAction(file->menuAction());
    QApplication::processEvents();
    QPixmap picture = main.grab();
    QPainter painter(&picture);
    painter.drawPixmap(main.menuBar()->mapTo(&main, title.bottomLeft() + QPoint(0, 1)), file->grab());
    return picture;
}

// The about box as 关于 Quenmar shows it.
QPixmap grabAbout(const app::AppContext& context) {
    app::MainWin main(context, fixtureDraw());
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("关于 Quenmar"), main.aboutText(), QMessageBox::Ok,
                    &main);
    box.setIconPixmap(QApplication::windowIcon().pixmap(64));
    box.show();
    QApplication::processEvents();
    return box.grab();
}

// The sample calculation written as 导出图片 (a .png) or 导出PDF (a .pdf) writes it.
bool writeExport(const app::AppContext& context, const QString& output) {
    app::MainWin main(context, fixtureDraw());
    showSample(main);
    const app::ChartDocument document =
        app::ChartDocument::ofCalculation(*main.shownCalculation(), main.font());
    return output.endsWith(QStringLiteral(".pdf")) ? document.writePdf(output)
                                                   : document.picture().save(output, "PNG");
}

// Sample draws of 2022-11-01 .. 2022-11-30 as a CSV file, from a fixed seed.
QString writeSampleDraws(const QTemporaryDir& home) {
    std::mt19937 random(2022);
    std::string csv = "code,issue,date,numbers\n";
    for (int day = 1; day <= 30; ++day) {
        std::vector<int> all(80);
        for (int n = 0; n < 80; ++n) {
            all[static_cast<std::size_t>(n)] = n + 1;
        }
        std::shuffle(all.begin(), all.end(), random);
        all.resize(20);
        csv += "100," + std::to_string(2022300 + day) + ",2022-11-" + (day < 10 ? "0" : "") +
               std::to_string(day) + "," + tally::twoDigitText(all, " ") + "\n";
    }
    const QString file = home.filePath(QStringLiteral("开奖.csv"));
    QFile out(file);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(QByteArray::fromStdString(csv));
    }
    return file;
}

// A few calculations by number over the month, saved as the save button does.
void saveSampleCalculations(store::TableDb& db) {
    for (int i = 0; i < 8; ++i) {
        CastRequest request;
        request.method = CastMethod::ByNumber;
        request.numberText = std::to_string(38 + 97 * i);
        request.zodiac = 1 + i % 12;
        prepareRequest(
            request, kGameHappy8,
            ClockReading{momentFromDateTime(DateTime{2022, 11, 3 + 3 * i, 9 + 2 * i, 15, 0, 0}), -480});
        const Calculation calculation = runCalculation(request);
        (void)store::saveRecord(
            db, store::modelFromChart(calculation.run.chart, "样例" + std::to_string(i + 1), ""));
    }
}

void waitForWork(const app::DrawHistoryWin& window) {
    for (int i = 0; i < 500 && window.busy(); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    QApplication::processEvents();
}

QPixmap grabDrawHistory(const app::AppContext& context, const QTemporaryDir& home, bool check) {
    saveSampleCalculations(*context.db);
    app::DrawHistoryWin window(context);
    window.show();
    app::FileDialog::setNextFileName(writeSampleDraws(home));
    window.importButton()->click();
    waitForWork(window);
    if (check) {
        window.tabs()->setCurrentIndex(1);
        window.checkButton()->click();
        waitForWork(window);
    }
    return window.grab();
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::cerr << "usage: quenmar-screenshot OUTPUT.png [--scale FACTOR] [--window "
                     "main|menu|about|lines|splash|update|expert|draws|check|start|export]\n";
        return 2;
    }
    app::QuenmarApplication application(argc, argv);
    app::initResources();
    app::installCjkFallbacks();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quenmar.svg")));
    QTemporaryDir home;
    store::TableDb db(home.path().toStdString());

    const double moment = momentFromDateTime(DateTime{2022, 11, 7, 12, 0, 0, 0});
    app::AppContext context;
    context.programFolder = home.path().toStdString();
    context.dataRoot = home.path().toStdString();
    context.configFile = home.filePath(QStringLiteral("config.ini")).toStdString();
    context.db = &db;
    context.clock = [moment] {
        return ClockReading{moment, -480};
    };
    context.showSplash = false;
    context.openHelpInViewer = false;

    if (options->window == "start") {
        app::MainWin main(context, fixtureDraw());
        main.show();
        QApplication::processEvents();
        return 0;
    }
    const QString output = QString::fromStdString(options->output);
    if (options->window == "export") {
        return writeExport(context, output) ? 0 : 1;
    }
    const QPixmap picture = options->window == "draws"    ? grabDrawHistory(context, home, false)
                            : options->window == "check"  ? grabDrawHistory(context, home, true)
                            : options->window == "update" ? grabUpdateWindow()
                            : options->window == "splash" ? grabSplash()
                            : options->window == "lines"  ? grabLineEntry(context)
                            : options->window == "expert" ? grabExpertWindow(context)
                            : options->window == "menu"   ? grabMenu(context)
                            : options->window == "about"  ? grabAbout(context)
                                                          : grabMainWindow(context);
    if (!picture.save(output, "PNG")) {
        std::cerr << "quenmar-screenshot: cannot write " << options->output << "\n";
        return 1;
    }
    return 0;
}
