// The rows the Copper list shows, as texts.
#pragma once

#include "copper/CopperSequenceModel.h"

#include <QStringList>

inline QStringList rowsOf(const CopperSequenceModel &list) {
    QStringList texts;
    for (int row = 0; row < list.rowCount(); ++row)
        texts << list.index(row).data().toString();
    return texts;
}
