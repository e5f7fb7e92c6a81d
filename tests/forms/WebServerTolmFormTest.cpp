#include "forms/WebServerTolmForm.h"

#include <gtest/gtest.h>

#include "forms/SettingsDesk.h"
#include "forms/StoredKeySelect.h"
#include "ui/Button.h"

namespace {
struct WebServerDesk : FormDesk<WebServerTolmForm> {
  using FormDesk::FormDesk;
  Control* Url() { return Item("WebServerTolmUrlField"); }
  Control* Path() { return Item("WebServerTolmPathField"); }
  Control* Port() { return Item("WebServerTolmPortField"); }
  Control* DebugPort() { return Item("WebServerTolmDebugPortField"); }
  StoredKeySelect* Type() { return Item<StoredKeySelect>("WebServerTolmTypeSelect"); }
};

std::string WithWebServer(const std::string& type, int port) {
  return R"({"WebServer": {"ContSoft": "podman", "DebugPort": 0, "Path": "/srv/",
             "Port": )" +
         std::to_string(port) + R"(, "Type": ")" + type + R"(", "Url": "http://h/ws.tar.gz"}})";
}
}  // namespace

TEST(WebServerTolmForm, ShowsItsTableWithTheFieldColumnAfterTheWidestLabel) {
  WebServerDesk desk;
  EXPECT_EQ(desk.screen.Text(19, 6, 61, 17),
            R"(┌Web server settings────────────────────────────────────────┐
│Archive address    http://downloads.example.com/webserver/v│
│                                                           │
│SHA-256 checksum                                           │
│                                                           │
│Unpack folder      /opt/                                   │
│                                                           │
│Web server type    <   Nginx   >                           │
│                                                           │
│Web server port        8080                                │
│                                                           │
│Container software <Docker>                                │
│                                                           │
│Debug port             1541                                │
│                                                           │
│                       >Apply >Cancel                      │
└───────────────────────────────────────────────────────────┘)");
  EXPECT_EQ(desk.screen.At(20, 7).pair, 2);
  EXPECT_EQ(desk.screen.At(20, 9).pair, 1);
}

TEST(WebServerTolmForm, RefusesChangedPortsOutsideTheirRangeBelowTheirField) {
  struct Case {
    const char* port;
    const char* debugPort;
    bool portRefused, debugPortRefused;
  } cases[] = {
      {"0", "1541", true, false}, {"70000", "1541", true, false}, {"65535", "70000", false, true},
      {"", "0", true, false},     {"1", "65535", false, false},
  };
  for (const Case& c : cases) {
    WebServerDesk desk;
    desk.Retype(desk.Port(), c.port);
    desk.Retype(desk.DebugPort(), c.debugPort);
    desk.form.Apply();
    SCOPED_TRACE(std::string(c.port) + " " + c.debugPort);
    const std::string message = "Enter a port from 1 to 65535.", blank(message.size(), ' ');
    EXPECT_EQ(desk.screen.Text(20, 16, 29, 1), c.portRefused ? message : blank);
    EXPECT_EQ(desk.screen.Text(20, 20, 29, 1), c.debugPortRefused ? message : blank);
    EXPECT_EQ(desk.stage.closes, c.portRefused || c.debugPortRefused ? 0 : 1);
    EXPECT_EQ(desk.Writes().empty(), c.portRefused || c.debugPortRefused);
  }
}

TEST(WebServerTolmForm, StoredPortsPassAndAMendedPortClearsItsMessage) {
  WebServerDesk desk(WithWebServer("nginx", 70000));
  desk.Retype(desk.DebugPort(), "99999");
  desk.form.Apply();
  EXPECT_TRUE(desk.Shown(DEBUG_PORT_INVALID_LABEL_NAME));
  desk.Retype(desk.DebugPort(), "9000");
  desk.form.Apply();
  EXPECT_FALSE(desk.Shown(DEBUG_PORT_INVALID_LABEL_NAME));
  EXPECT_EQ(desk.stage.closes, 1);
  EXPECT_EQ(desk.Writes(),
            std::vector<std::string>{"Settings::SetInteger WebServer/DebugPort as 9000."});
  EXPECT_EQ(desk.settings.GetInteger("WebServer/Port"), 70000);
}

TEST(WebServerTolmForm, ApplyWritesExactlyTheChangedEntriesAndCancelOrEscapeNone) {
  enum Close { APPLY, CANCEL, ESCAPE };
  for (Close close : {APPLY, CANCEL, ESCAPE}) {
    WebServerDesk desk;
    desk.Retype(desk.Port(), "8081");
    desk.Retype(desk.Path(), "/opt/");
    Control* contSoft = desk.Item("WebServerTolmContSoftSelect");
    contSoft->OnKeyPress(KEY_RIGHT);
    contSoft->OnKeyPress(KEY_RIGHT);
    if (close == APPLY)
      desk.form.Apply();
    else if (close == CANCEL)
      desk.form.GetCancelButton()->OnKeyPress(10);
    else
      EXPECT_TRUE(desk.form.Dismiss());
    EXPECT_EQ(desk.stage.closes, 1);
    EXPECT_EQ(desk.Writes(), close == APPLY ? std::vector<std::string>{"Settings::SetInteger "
                                                                       "WebServer/Port as 8081."}
                                            : std::vector<std::string>{});
    EXPECT_EQ(desk.settings.IsModified(), close == APPLY);
  }
}

TEST(WebServerTolmForm, AnUnknownStoredTypeIsShownEmptyAndKeptUntilAnotherIsChosen) {
  struct Case {
    const char* type;
    int key;     // 0: none
    int clickX;  // 0: none
    const char* shown;
    const char* stored;
  } cases[] = {{"other", 0, 0, "<           >", "other"},
               {"other", KEY_RIGHT, 0, "<   Angie   >", "angie"},
               {"other", 0, 39, "<Без сервера>", "no_http"},
               {"nginx", KEY_RIGHT, 0, "<Без сервера>", "no_http"}};
  for (const Case& c : cases) {
    WebServerDesk desk(WithWebServer(c.type, 8080));
    if (c.key != 0)
      desk.Type()->OnKeyPress(c.key);
    if (c.clickX != 0)
      desk.Type()->OnMouseClick(desk.screen.Click(c.clickX, 13).get());
    EXPECT_EQ(desk.screen.Text(39, 13, 13, 1), c.shown) << c.type << c.key;
    desk.form.Apply();
    EXPECT_EQ(desk.stage.closes, 1);
    EXPECT_EQ(desk.settings.GetString("WebServer/Type"), c.stored);
  }
}
