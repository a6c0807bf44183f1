#include <windows.h>

#include <QCoreApplication>
#include <QStandardPaths>
#include <cstdlib>

#include "support/own_settings.h"

namespace test_support {
namespace {

// Under HKEY_CURRENT_USER as it really is; the parent goes with the last of its trees.
const wchar_t kParent[] = L"Software\\Sondrel tests";

QString ownTree() {
    return QString::fromWCharArray(kParent) + u'\\' +
           QString::number(QCoreApplication::applicationPid());
}

void removeOwnTree() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    const QString tree = ownTree();
    RegDeleteTreeW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(tree.utf16()));
    RegDeleteKeyW(HKEY_CURRENT_USER, kParent);
}

}  // namespace

void useOwnSettings(const QString&) {
    QStandardPaths::setTestModeEnabled(true);
    const QString tree = ownTree();
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(tree.utf16()), 0,
                        nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_CURRENT_USER, key) != ERROR_SUCCESS) {
        qFatal("no registry tree of its own for the tests: the user's settings are not touched");
    }
    RegCloseKey(key);
    std::atexit(removeOwnTree);
}

}  // namespace test_support
