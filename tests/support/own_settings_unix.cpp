#include "support/own_settings.h"

#include <QFile>

namespace test_support {

void useOwnSettings(const QString& folder) {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder));
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder));
}

}  // namespace test_support
