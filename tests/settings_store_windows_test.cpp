#include <windows.h>

#include <gtest/gtest.h>

#include <variant>
#include <vector>

#include "platform/settings_store.h"

namespace {

using settings_store::kInputKey;

const wchar_t kStore[] = L"Software\\Sondrel\\Sondrel";

QString subkey(const char* section) {
    return QString::fromWCharArray(kStore) + u'\\' + QLatin1String(section);
}

// A value as regedit or "reg add" puts it there.
struct Entry {
    const char* section;
    const char* name;
    std::variant<QString, DWORD> value;
};

void write(const Entry& e) {
    const QString key = subkey(e.section);
    const QString name = QLatin1String(e.name);
    const auto* keyName = reinterpret_cast<const wchar_t*>(key.utf16());
    const auto* valueName = reinterpret_cast<const wchar_t*>(name.utf16());
    if (const auto* text = std::get_if<QString>(&e.value)) {
        RegSetKeyValueW(HKEY_CURRENT_USER, keyName, valueName, REG_SZ, text->utf16(),
                        static_cast<DWORD>((text->size() + 1) * sizeof(char16_t)));
    } else {
        const DWORD number = std::get<DWORD>(e.value);
        RegSetKeyValueW(HKEY_CURRENT_USER, keyName, valueName, REG_DWORD, &number, sizeof number);
    }
}

// The text of a string value, or nullopt when it is not one.
std::optional<QString> stored(const char* section, const char* name) {
    const QString key = subkey(section);
    const QString value = QLatin1String(name);
    wchar_t text[256];
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(key.utf16()),
                     reinterpret_cast<const wchar_t*>(value.utf16()), RRF_RT_REG_SZ, nullptr, text,
                     &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return QString::fromWCharArray(text);
}

class RegistryStore : public ::testing::Test {
protected:
    RegistryStore() { clear(); }
    ~RegistryStore() override { clear(); }
    static void clear() { RegDeleteTreeW(HKEY_CURRENT_USER, kStore); }
};

// Values added by hand: what can be used is, and one problem names the rest. Port numbers open
// COM<N> unless mapped; the registry ignores the case of names, and so does the store.
TEST_F(RegistryStore, ReadsValuesAddedByHand) {
    const struct {
        std::vector<Entry> entries;
        QString input;        // what "IN" gives
        QString port3;        // the device port 3 opens
        QString staleAfter;   // the stale limit used
        const char* problem;  // a word of the one problem reported, nullptr for none
    } cases[] = {
        {{{"COM_Port", "IN", "3:1200,O,8,1"}, {"Ports", "COM3", "COM12"}},
         "3:1200,O,8,1",
         "COM12",
         "5",
         nullptr},
        {{{"Ports", "com3", "\\\\.\\CNCA0"}}, "", "\\\\.\\CNCA0", "5", nullptr},
        {{{"Ports", "COM3", ""}}, "", "COM3", "5", "opens COM3"},
        {{{"Ports", "COM0", "COM12"}}, "", "COM3", "5", "COM0"},
        {{{"Options", "StaleAfter", DWORD{3}}}, "", "COM3", "3", nullptr},
        {{{"Options", "StaleAfter", DWORD{0}}}, "", "COM3", "5", "StaleAfter"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port3.toStdString() + " " + c.staleAfter.toStdString());
        clear();
        for (const Entry& e : c.entries) {
            write(e);
        }
        EXPECT_EQ(settings_store::portConfiguration(kInputKey), c.input);
        EXPECT_EQ(settings_store::deviceForPort(3), c.port3);
        EXPECT_EQ(settings_store::options().staleAfter, c.staleAfter);
        const QStringList problems = settings_store::problems();
        EXPECT_EQ(problems.size(), c.problem ? 1 : 0) << problems.join(' ').toStdString();
        if (c.problem) {
            EXPECT_TRUE(problems.join(' ').contains(QLatin1String(c.problem))) << c.problem;
        }
    }
    EXPECT_EQ(settings_store::location(), "\\HKEY_CURRENT_USER\\Software\\Sondrel\\Sondrel");
}

// What the program stores is plain text, as regedit shows it and a hand edit would write it. A
// key the registry will not add to gives a reason.
TEST_F(RegistryStore, StoresTextAndSaysWhenTheRegistryRefuses) {
    EXPECT_TRUE(settings_store::setPortConfiguration(kInputKey, "3:9600,N,8,1").ok());
    EXPECT_TRUE(settings_store::setOption(settings_store::kSendFreshOnly, true).ok());
    EXPECT_EQ(stored("COM_Port", "IN"), "3:9600,N,8,1");
    EXPECT_EQ(stored("Options", "SendFreshOnly"), "true");

    // Only volatile keys can be made under a volatile one, and the store's are not.
    clear();
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kStore, 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    const settings_store::StoreResult refused =
        settings_store::setPortConfiguration(kInputKey, "3:9600,N,8,1");
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(refused.error().contains("registry")) << refused.error().toStdString();
}

}  // namespace
