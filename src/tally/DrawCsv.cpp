#include "tally/DrawCsv.h"

#include "base/Utf8.h"
#include "draws/Lottery.h"
#include "tally/DrawIndex.h"
#include "tally/KeptForm.h"
#include "tally/NumberSet.h"

#include <charconv>

namespace quenmar::tally {

namespace {

constexpr std::size_t kMaxIssueDigits = 32;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

Failure<CsvProblem> problem(int line, std::string message) {
    return Failure{CsvProblem{line, std::move(message), false}};
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t pos = text.find(separator); pos != std::string_view::npos;
         pos = text.find(separator, start)) {
        parts.push_back(text.substr(start, pos - start));
        start = pos + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Two-digit texts separated by blanks, as "03 07 11": the same text, one blank between; nothing
// when a number is not two digits.
std::optional<std::string> zoneText(std::string_view text) {
    std::string zone;
    for (const std::string_view part : split(utf8::trimBlanks(text), ' ')) {
        if (part.empty()) {
            continue; // a second blank
        }
        if (part.size() != 2 || !allDigits(part)) {
            return std::nullopt;
        }
        if (!zone.empty()) {
            zone += ' ';
        }
        zone += part;
    }
    return zone;
}

Result<store::KeptDraw, std::string> rowDraw(std::string_view line, double obtainedAt,
                                             std::string_view source) {
    const std::vector<std::string_view> fields = split(line, ',');
    if (fields.size() != 4) {
        return Failure{std::string("应有4列 (code,issue,date,numbers)")};
    }
    const std::string_view codeText = utf8::trimBlanks(fields[0]);
    int code = 0;
    const auto parsed = std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
    const auto lottery = parsed.ec == std::errc{} && parsed.ptr == codeText.data() + codeText.size()
                             ? draws::lotteryByCode(code)
                             : std::nullopt;
    if (codeText.empty() || !lottery) {
        return Failure{std::string("彩种代码应为100到106之间的整数")};
    }
    store::KeptDraw draw;
    draw.code = code;
    draw.issue = utf8::trimBlanks(fields[1]);
    if (!allDigits(draw.issue) || draw.issue.size() > kMaxIssueDigits) {
        return Failure{"期号应为数字 (至多" + std::to_string(kMaxIssueDigits) + "位)"};
    }
    draw.date = utf8::trimBlanks(fields[2]);
    if (!dayOfDate(draw.date)) {
        return Failure{std::string("日期应为 YYYY-MM-DD")};
    }
    const std::vector<std::string_view> zones = split(fields[3], '+');
    const auto main = zoneText(zones[0]);
    const auto extra = zones.size() == 2 ? zoneText(zones[1]) : std::optional<std::string>("");
    if (zones.size() > 2 || !main || main->empty() || !extra || (zones.size() == 2 && extra->empty())) {
        return Failure{std::string("号码应为以空格分隔的两位数字, 附加号码在 \"+\" 之后")};
    }
    draw.mainNumbers = *main;
    draw.extraNumbers = *extra;
    if (auto rule = keptDrawProblem(*lottery, draw)) {
        return Failure{"不是一期" + std::string(lottery->name) + "开奖 (" + *rule + ")"};
    }
    draw.obtainedAt = obtainedAt;
    draw.source = source;
    return draw;
}

} // namespace

std::string drawCsvLine(const store::KeptDraw& draw) {
    std::string line =
        std::to_string(draw.code) + "," + draw.issue + "," + draw.date + "," + draw.mainNumbers;
    if (!draw.extraNumbers.empty()) {
        line += "+" + draw.extraNumbers;
    }
    return line;
}

std::string drawCsv(const std::vector<store::KeptDraw>& draws) {
    std::string text(kDrawCsvHeader);
    text += '\n';
    for (const store::KeptDraw& draw : draws) {
        text += drawCsvLine(draw);
        text += '\n';
    }
    return text;
}

std::string csvProblemText(const CsvProblem& problem) {
    return problem.line > 0 ? "第" + std::to_string(problem.line) + "行: " + problem.message
                            : problem.message;
}

Result<std::vector<CsvRow>, CsvProblem> readDrawCsv(std::string_view text, double obtainedAt,
                                                    std::string_view source) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    if (!utf8::isValid(text)) {
        return problem(0, "文件不是UTF-8文本");
    }
    std::vector<CsvRow> rows;
    bool header = false;
    int number = 0;
    for (std::string_view line : split(text, '\n')) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (utf8::trimBlanks(line).empty()) {
            continue;
        }
        if (!header) {
            if (utf8::trimBlanks(line) != kDrawCsvHeader) {
                return problem(number, "第一行应为 " + std::string(kDrawCsvHeader));
            }
            header = true;
            continue;
        }
        auto draw = rowDraw(line, obtainedAt, source);
        if (!draw) {
            return problem(number, draw.error());
        }
        rows.push_back(CsvRow{number, std::move(*draw)});
    }
    if (!header) {
        return problem(0, "文件是空的, 第一行应为 " + std::string(kDrawCsvHeader));
    }
    return rows;
}

Result<ImportReport, CsvProblem>
importDrawCsv(const store::TableDb& db, std::string_view text, double obtainedAt, std::string_view source,
              const std::function<bool(std::size_t, std::size_t)>& progress) {
    const auto rows = readDrawCsv(text, obtainedAt, source);
    if (!rows) {
        return Failure{rows.error()};
    }
    const auto storeProblem = [](store::StoreError) {
        return CsvProblem{0, "开奖记录无法写入数据库", false};
    };
    if (auto ensured = store::ensureDrawTable(db); !ensured) {
        return Failure{storeProblem(ensured.error())};
    }
    ImportReport report;
    std::optional<CsvProblem> stopped;
    const auto kept = store::inDrawTransaction(db, [&]() -> Result<void, store::StoreError> {
        for (std::size_t i = 0; i < rows->size(); ++i) {
            const CsvRow& row = (*rows)[i];
            const auto result = store::keepDraw(db, row.draw);
            if (!result) {
                return Failure{result.error()};
            }
            if (result->verdict == store::KeepVerdict::Conflicts) {
                stopped = CsvProblem{row.line,
                                     "第" + row.draw.issue + "期与已有的同期开奖不同 (" +
                                         drawCsvLine(result->kept) + "), 不会覆盖",
                                     false};
                return Failure{store::StoreError::StatementFailed};
            }
            ++(result->verdict == store::KeepVerdict::Added ? report.added : report.alreadyKept);
            if (progress && !progress(i + 1, rows->size())) {
                stopped = CsvProblem{0, "导入已取消, 没有保存任何开奖", true};
                return Failure{store::StoreError::StatementFailed};
            }
        }
        return {};
    });
    if (stopped) {
        return Failure{*stopped};
    }
    if (!kept) {
        return Failure{storeProblem(kept.error())};
    }
    return report;
}

} // namespace quenmar::tally
