#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "support/pty.h"
#include "support/window_test.h"

namespace {

using InputTest = WindowTest;

// A failed start closes the port and stops at the failing step: only an unusable port number is
// told in a message box. The status line says why in every case, a busy device included. The
// ports are real, port 3 a pseudo-terminal.
TEST_F(InputTest, AFailedStartStopsAtTheFailingStep) {
    const test_support::PtyDevice device{3};
    ASSERT_TRUE(device.isOpen());
    useRealPorts();
    SerialPort* port = find<SerialPort>("Com_in");
    const auto status = [&] { return text("lb_in_status"); };
    test_support::mapPort(9, device.path() + "-gone");
    const test_support::PtyDevice held(8);
    QtSerialPort holder;
    ASSERT_TRUE(holder.setPortNumber(8).ok());
    ASSERT_TRUE(holder.open().ok());
    const struct {
        const char *port, *settings, *stored, *status;
        bool message;
    } cases[] = {
        {"abc", "19200,N,8,1", "3:19200,N,8,1", "the COM Port box holds \"abc\"", false},
        {"0", "19200,N,8,1", "3:19200,N,8,1", "port number 0 is outside 1..32767", true},
        {"3", "19200,X,8,1", "3:19200,N,8,1", "the Port Settings \"19200,X,8,1\"", false},
        {"9", "19200,N,8,1", "9:19200,N,8,1", "-gone; name the device of port 9 under [Ports] COM9",
         true},
        {"8", "19200,N,8,1", "8:19200,N,8,1", " is busy: another program holds it", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        type("Text3", "3");
        type("Text2", "19200,N,8,1");
        click("Command3");
        ASSERT_TRUE(port->isOpen());
        dialogs.messages.clear();
        type("Text3", c.port);
        type("Text2", c.settings);
        click("Command3");
        EXPECT_FALSE(port->isOpen());
        EXPECT_TRUE(status().startsWith("Not connected: ") && status().contains(c.status))
            << status().toStdString();
        EXPECT_EQ(settings_store::portConfiguration(settings_store::kInputKey), c.stored);
        ASSERT_EQ(dialogs.messages.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(dialogs.messages[0].text, "Please choose another COM Port!");
        }
    }
}

}  // namespace
