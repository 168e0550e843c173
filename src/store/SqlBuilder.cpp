#include "store/SqlBuilder.h"

#include <algorithm>
#include <cctype>

namespace quenmar::store {

namespace {

std::string joined(const ColumnList& items, std::string_view separator) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i != 0) {
            text += separator;
        }
        text += items[i];
    }
    return text;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

std::string placeholders(std::size_t count) {
    ColumnList marks(count, "?");
    return joined(marks, ",");
}

} // namespace

std::string columnDefinition(std::string_view name, std::string_view type, std::string_view defaultValue) {
    std::string text(name);
    text += ' ';
    text += type;
    if (!defaultValue.empty()) {
        text += " DEFAULT ";
        text += defaultValue;
    }
    return text;
}

std::string createTableStatement(std::string_view table, const ColumnList& definitions,
                                 const std::optional<ColumnList>& uniqueColumns) {
    std::string body;
    if (!definitions.empty()) {
        body = '(';
        body += joined(definitions, ",");
    }
    if (uniqueColumns) {
        body += ",UNIQUE (";
        body += joined(*uniqueColumns, ",");
        body += ')';
    }
    if (!body.empty()) {
        body += ")";
    }
    std::string text = "CREATE TABLE ";
    text += table;
    text += ' ';
    text += body;
    text += ';';
    return text;
}

std::string buildStatement(std::string_view kind, std::string_view table,
                           const std::optional<ColumnList>& columns, std::string_view where,
                           std::string_view orderBy) {
    static const ColumnList kNone;
    const ColumnList& names = columns ? *columns : kNone;
    std::string text;
    if (kind.empty() || equalsIgnoringCase(kind, "INSERT")) {
        text = kind.empty() ? "INSERT OR IGNORE INTO " : "INSERT INTO ";
        text += table;
        text += '(';
        text += joined(names, ",");
        text += ") VALUES (";
        text += placeholders(names.size());
        text += ')';
    } else if (equalsIgnoringCase(kind, "UPDATE")) {
        ColumnList assignments;
        assignments.reserve(names.size());
        for (const std::string& name : names) {
            assignments.push_back(name + "=?");
        }
        text = "UPDATE ";
        text += table;
        text += " SET ";
        text += joined(assignments, ",");
    } else if (equalsIgnoringCase(kind, "DELETE")) {
        text = "DELETE FROM ";
        text += table;
    } else if (equalsIgnoringCase(kind, "SELECT")) {
        text = "SELECT ";
        text += columns ? joined(*columns, ",") : std::string("*");
        text += " From ";
        text += table;
    }
    if (!where.empty()) {
        text += " WHERE ";
        text += where;
    }
    if (!orderBy.empty()) {
        text += " ORDER BY ";
        text += orderBy;
    }
    text += ';';
    return text;
}

} // namespace quenmar::store
