#include "forms/WebServerTolmForm.h"

#include <gtest/gtest.h>

#include "forms/SettingsDesk.h"
#include "ui/Mouse.h"

TEST(WebServerTolmForm, RefusesChangedPortsOutsideTheirRangeBelowTheirField) {
  struct Case {
    const char* port;
    const char* debugPort;
    bool portRefused, debugPortRefused;
  } cases[] = {
      {"0", "1541", true, false}, {"65535", "70000", false, true}, {"1", "65535", false, false}};
  for (const Case& c : cases) {
    FormDesk<WebServerTolmForm> desk;
    desk.Retype(desk.Item("WebServerTolmPortField"), c.port);
    desk.Retype(desk.Item("WebServerTolmDebugPortField"), c.debugPort);
    desk.form.Apply();
    SCOPED_TRACE(std::string(c.port) + " " + c.debugPort);
    const std::string message = "Enter a port from 1 to 65535.", blank(message.size(), ' ');
    EXPECT_EQ(desk.screen.Text(20, 16, 29, 1), c.portRefused ? message : blank);
    EXPECT_EQ(desk.screen.Text(20, 20, 29, 1), c.debugPortRefused ? message : blank);
    EXPECT_EQ(desk.stage.closes, c.portRefused || c.debugPortRefused ? 0 : 1);
    EXPECT_EQ(desk.Writes().empty(), c.portRefused || c.debugPortRefused);
  }
  FormDesk<WebServerTolmForm> desk;  // a port field takes the clicks on its own row only
  Control* port = desk.Item("WebServerTolmPortField");
  EXPECT_TRUE(port->OnMouseClick(desk.screen.Click(46, 15).get()));
  EXPECT_FALSE(port->OnMouseClick(desk.screen.Click(46, 16).get()));
}
