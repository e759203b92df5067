// Tables kept as cases of a golden file (golden_text.h), for the tests of the app's tools: each
// line of a case a row, its fields parted by '|' and kept as written.
#pragma once

#include "golden_text.h"

#include <gtest/gtest.h>

#include <QList>
#include <QString>
#include <QStringList>

#include <string>

namespace golden {

// The rows of case `name` of the file at path, each split at its "|"s. A case without rows
// fails the test: a loop over it would check nothing.
inline QList<QStringList> table(const std::string &path, const std::string &name) {
    QList<QStringList> rows;
    for (const QString &row :
         QString::fromStdString(read(path).at(name)).split('\n', Qt::SkipEmptyParts))
        rows << row.split('|');
    EXPECT_FALSE(rows.isEmpty()) << "case \"" << name << "\" of " << path << " has no rows";
    return rows;
}

} // namespace golden
