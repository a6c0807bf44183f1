#pragma once

#include <QString>

namespace test_support {

// Gives this test process a settings store and a data folder of its own, apart from the user's
// and from every other test process's; called before the first settings are read. `folder` is
// an empty temporary folder that lives as long as the process. On Linux the store and the data
// go into it; on Windows the registry tree of the current user is one made for the process and
// taken away at its end, the data folder Qt's for tests.
void useOwnSettings(const QString& folder);

}  // namespace test_support
