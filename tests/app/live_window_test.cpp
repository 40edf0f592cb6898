// The main window on an X server while the station prints slowly: it answers the
// desktop's ping, takes "Stopp" and the end in the middle of a pass, and the pass ends
// after the document in hand.
#include "station_window.h"
#include "tools/print_record.h"

#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include <future>
#include <poll.h>
#include <thread>
#include <xcb/xcb.h>

using namespace std::chrono_literals;

namespace {

xcb_atom_t Atom(xcb_connection_t* x, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, strlen(name), name), nullptr);
    xcb_atom_t atom = reply ? reply->atom : XCB_ATOM_NONE;
    free(reply);
    return atom;
}

// Pings the window from a connection of its own, as a desktop does; true when the
// answer comes back to the root window within the limit.
bool AnswersPing(xcb_window_t window, std::chrono::seconds limit)
{
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    // Qt answers with these masks; a window manager selects the redirect.
    uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_client_message_event_t ping{};
    ping.response_type = XCB_CLIENT_MESSAGE;
    ping.format = 32;
    ping.window = window;
    ping.type = Atom(x, "WM_PROTOCOLS");
    ping.data.data32[0] = Atom(x, "_NET_WM_PING");
    ping.data.data32[1] = 4711;
    ping.data.data32[2] = window;
    xcb_send_event(x, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ping));
    xcb_flush(x);
    bool answered = false;
    for (auto end = std::chrono::steady_clock::now() + limit; !answered && std::chrono::steady_clock::now() < end;) {
        pollfd wait{xcb_get_file_descriptor(x), POLLIN, 0};
        poll(&wait, 1, 50);
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            auto* answer = reinterpret_cast<xcb_client_message_event_t*>(event);
            answered = answered || ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE && answer->window == root &&
                                    answer->data.data32[1] == 4711 && answer->data.data32[2] == window);
            free(event);
        }
    }
    xcb_disconnect(x);
    return answered;
}

}  // namespace

class LiveWindowTest : public QObject {
    Q_OBJECT

private slots:
    void answersWhilePrintingAndEndsAPassAfterTheDocumentInHand()
    {
        StationWindow station;
        StationSettings settings = station.LocalSettings();
        settings.Printer_PDF_Prog = TEST_PRINT_PROGRAM;
        SaveSettings(settings);
        for (const char* name : {"a.pdf", "b.pdf", "c.pdf"})
            station.AddDocument("DELV", name);
        const std::string record = station.folder / "print.record";
        const std::string control = station.folder / "print.control";
        setenv("STATION_PRINT_RECORD", record.c_str(), 1);
        setenv("STATION_PRINT_CONTROL", control.c_str(), 1);
        std::ofstream(control) << "a.pdf sleep 7000\n* sleep 1500\n";
        station.Open();
        QVERIFY(QTest::qWaitForWindowExposed(station.window.get()));

        auto answered = std::async(std::launch::async, [&record, window = station.window->winId()] {
            while (!std::filesystem::exists(record))
                std::this_thread::sleep_for(10ms);
            return AnswersPing(window, 5s);
        });
        QString inHand;
        bool startEnabled = true;
        QTimer::singleShot(1000, [&] {
            inHand = station.window->findChild<QLineEdit*>("file")->text();
            station.Button("stop")->click();
            startEnabled = station.Button("start")->isEnabled();
            station.Command("&Grundeinstellungen ...")->trigger();
        });
        station.Button("start")->click();
        QVERIFY(answered.get());
        QCOMPARE(inHand, QString("a.pdf"));
        QVERIFY(!startEnabled);
        QCOMPARE(station.boxes.boxes.back().caption, std::string("Operation nicht möglich"));
        QCOMPARE(ReadPrintRecord(record).size(), std::size_t(1));
        QCOMPARE(station.Messages().back(), std::string("Stopp"));

        // The end during a pass: the window waits for the document in hand.
        bool visibleAfterYes = false;
        QTimer::singleShot(300, [&] {
            station.boxes.defaultAnswer = BoxButton::Yes;
            station.window->reject();
            visibleAfterYes = station.window->isVisible();
        });
        station.Button("start")->click();
        QVERIFY(visibleAfterYes);
        QVERIFY(!station.window->isVisible());
        QCOMPARE(ReadPrintRecord(record).size(), std::size_t(2));
        QVERIFY(!std::filesystem::exists(station.folder / "SPOOL/DELV/b.pdf"));
        QVERIFY(std::filesystem::exists(station.folder / "SPOOL/DELV/c.pdf"));
        QCOMPARE(station.Messages().back(), std::string("Ende"));
    }
};

QTEST_MAIN(LiveWindowTest)
#include "live_window_test.moc"
