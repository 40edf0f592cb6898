// The main window on an X server while the print program or a silent store takes its
// time: it answers the desktop's ping, takes "Stopp" and the end in the middle of a pass,
// and the pass ends after the document in hand.
#include "station_window.h"
#include "servers/scripted_server.h"
#include "spool/settings_save.h"

#include <QLineEdit>
#include <QtTest>

#include <future>
#include <thread>
#include <xcb/xcb.h>

using namespace std::chrono_literals;

// Pings the window from a connection of its own, as a desktop does; true when the
// answer comes back to the root window within 5 s.
static bool AnswersPing(xcb_window_t window)
{
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    auto atom = [x](const char* name) {
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
            xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, strlen(name), name), nullptr), &free);
        return reply->atom;
    };
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    uint32_t answerMasks = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &answerMasks);
    xcb_client_message_event_t ping{XCB_CLIENT_MESSAGE, 32, 0, window, atom("WM_PROTOCOLS"), {}};
    ping.data.data32[0] = atom("_NET_WM_PING");
    ping.data.data32[1] = 4711;
    xcb_send_event(x, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ping));
    xcb_flush(x);
    bool answered = false;
    for (int slice = 0; slice < 250 && !answered; ++slice) {
        std::this_thread::sleep_for(20ms);
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            auto* answer = reinterpret_cast<xcb_client_message_event_t*>(event);
            answered |= (event->response_type & 0x7f) == XCB_CLIENT_MESSAGE && answer->window == root &&
                        answer->data.data32[1] == 4711;
            free(event);
        }
    }
    xcb_disconnect(x);
    return answered;
}

class LiveWindowTest : public QObject {
    Q_OBJECT

private slots:
    void answersWhilePrintingAndEndsAPassAfterTheDocumentInHand()
    {
        StationWindow station;
        StationSettings settings = station.LocalSettings();
        settings.Printer_PDF_Prog = "/bin/sleep";  // each document takes 7 s
        settings.Printer_PDF_Prog_Params = "7";
        SaveSettings(settings);
        for (const char* name : {"a.pdf", "b.pdf", "c.pdf"})
            station.AddDocument("DELV", name);
        auto waiting = [&](const char* name) { return std::filesystem::exists(station.folder / "SPOOL/DELV/" + name); };
        station.Open();
        QVERIFY(QTest::qWaitForWindowExposed(station.window.get()));

        std::future<bool> answered;
        QString inHand;
        bool startEnabled = true;
        QTimer::singleShot(1000, [&] {
            answered = std::async(std::launch::async, AnswersPing, station.window->winId());
            inHand = station.window->findChild<QLineEdit*>("file")->text();
            station.Button("stop")->click();
            startEnabled = station.Button("start")->isEnabled();
            station.Command("&Grundeinstellungen ...")->trigger();
        });
        station.Button("start")->click();
        QVERIFY(answered.valid() && answered.get());
        QCOMPARE(inHand, QString("a.pdf"));
        QVERIFY(!startEnabled);
        QCOMPARE(station.boxes.boxes.back().caption, std::string("Operation nicht möglich"));
        QCOMPARE(station.Messages().back(), std::string("Stopp"));
        QVERIFY(!waiting("a.pdf") && waiting("b.pdf") && waiting("c.pdf"));

        // Closing during a pass asks; after "Ja" the window waits for the document in hand.
        bool visibleAfterYes = false;
        QTimer::singleShot(1000, [&] {
            station.boxes.answers = {BoxButton::No, BoxButton::Yes};
            station.window->reject();
            station.window->reject();
            visibleAfterYes = station.window->isVisible();
        });
        station.Button("start")->click();
        QVERIFY(visibleAfterYes);
        QVERIFY(!station.window->isVisible());
        const ShownBox& question = station.boxes.boxes.back();
        QCOMPARE(question.text, std::string("Die Station druckt noch. Wirklich beenden?"));
        QCOMPARE(question.caption, std::string("Frage:"));
        QCOMPARE(question.style, BoxStyle::YesNo | BoxStyle::IconQuestion | BoxStyle::DefaultButton2 | BoxStyle::TaskModal);
        QCOMPARE(station.boxes.boxes.at(station.boxes.boxes.size() - 2).text, question.text);
        QVERIFY(!waiting("b.pdf") && waiting("c.pdf"));
        QCOMPARE(station.Messages().back(), std::string("Ende"));
    }

    // A store that takes the connection and says nothing holds the cycle until its time-out.
    void answersWhileTheStoreIsSilent_data()
    {
        QTest::addColumn<int>("sftp");
        QTest::newRow("FTP") << 0;
        QTest::newRow("SFTP") << 1;
    }
    void answersWhileTheStoreIsSilent()
    {
        QFETCH(int, sftp);
        ScriptedServer silent;
        silent.Accept();
        silent.Start();
        StationWindow station;
        StationSettings settings = station.LocalSettings();
        settings.LocalFsMode = 0;
        settings.KV_Sftp_Mode = sftp;
        settings.KV_Server = settings.KV_FTP_Store = "127.0.0.1";
        settings.KV_Port = settings.KV_Main_Dir = settings.KV_FTP_Store_Dir = "korvid";
        settings.KV_FTP_Store_User = settings.KV_FTP_Store_Password = "lager";
        settings.OnErrorLogOnly = 1;
        SaveSettings(settings);
        std::filesystem::create_symlink(PSFTP_DLL_DIR "/psftp_dll.so", station.folder / "psftp_dll.so");
        station.store = RemoteStoreAccess(silent.Port(), silent.Port(), 8000);
        station.Open();
        QVERIFY(QTest::qWaitForWindowExposed(station.window.get()));

        std::future<bool> answered;
        QTimer::singleShot(1000, [&] { answered = std::async(std::launch::async, AnswersPing, station.window->winId()); });
        station.Button("start")->click();
        station.Button("stop")->click();
        QVERIFY(answered.valid() && answered.get());
    }
};

QTEST_MAIN(LiveWindowTest)
#include "live_window_test.moc"
