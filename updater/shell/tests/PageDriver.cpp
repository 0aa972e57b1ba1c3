// Brings Koravel.exe to each of its pages through the real flows, one after
// another, so that a screenshot can be taken of every page. For each view it
// writes "<name>.ready" into the hand-over folder and waits for
// "<name>.done" there before it goes on.
//   koravel_page_driver <hand-over folder>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <memory>

#include "ClientFolder.h"
#include "KoravelProcess.h"
#include "ResourceIds.h"
#include "UpdateServer.h"

namespace {

std::string g_handOver;

void HandOver(const std::string& name) {
    WriteWholeFile(g_handOver + "\\" + name + ".ready", "");
    std::string done = g_handOver + "\\" + name + ".done";
    if (!WaitFor([&] { return PathExists(done); }, std::chrono::seconds(60))) printf("%s: no screenshot taken\n", name.c_str());
    else printf("%s: done\n", name.c_str());
}

HWND OpenDialog(KoravelProcess& koravel) { return koravel.WaitDialog(Gb(u8"自动更新")); }

void Settle() { PumpMessagesFor(std::chrono::milliseconds(800)); }

void ShowPage(const std::string& name, const char* mode, const std::vector<ServedFile>& files,
              const std::function<void(ClientFolder&)>& prepare, const std::function<bool(HWND)>& drive) {
    ClientFolder client;
    WriteWholeFile(client.update("WhatNews.txt"), Gb(u8"本次更新内容：\r\n1. 行情刷新更快\r\n2. 修正若干问题\r\n"));
    prepare(client);
    std::unique_ptr<UpdateServer> server;
    if (!files.empty()) server = std::make_unique<UpdateServer>(client, files);
    KoravelProcess koravel(client.path(), mode);
    HWND dialog = OpenDialog(koravel);
    if (dialog && drive(dialog)) {
        Settle();
        HandOver(name);
    } else {
        printf("%s: page not reached\n", name.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    g_handOver = HostPathToWindows(argv[1]);
    auto none = [](ClientFolder&) {};
    auto page = [](int number) { return [number](HWND dialog) { return WaitForPage(dialog, number) == number; }; };
    const std::vector<ServedFile> offer = {{"quote.dat", "quote data v2"}};

    ShowPage("0-checking", "DownloadAndUpdate", {}, none, page(0));
    ShowPage("1-update-found", "DownloadWithGUI", offer, none, page(1));
    ShowPage("2-mandatory-update", "ForceDownloadAndUpdate", offer, none, page(2));
    ShowPage("3-no-update", "ShowNoUpdateInfo", {}, none, page(3));
    ShowPage("4-downloading", "DownloadWithGUI", {{"quote.dat", "q"}, {"news.dat", std::string(400, 'n'), 20991231, true}},
             none, [](HWND dialog) {
                 if (WaitForPage(dialog, 1) != 1 || !ClickOnPage(dialog, IDC_START_UPDATE)) return false;
                 if (WaitForPage(dialog, 4) != 4) return false;
                 HWND progress = GetDlgItem(PageWindow(dialog, 4), IDC_PROGRESS);
                 WaitFor([&] { return SendMessageA(progress, PBM_GETPOS, 0, 0) >= 1; });
                 SendMessageA(dialog, kTrayNotify, IDR_TRAY_MENU, WM_LBUTTONDBLCLK);  // from the tray
                 return IsWindowVisible(dialog) != FALSE;
             });
    ShowPage("5-installing", "ForceUpdate", {},
             [](ClientFolder& client) { client.StageDownloads({{"quote.dat"}, {"news.dat"}}); }, page(5));
    ShowPage("6-ready-to-install", "DownloadWithGUI", offer, none, [](HWND dialog) {
        return WaitForPage(dialog, 1) == 1 && ClickOnPage(dialog, IDC_START_UPDATE) && WaitForPage(dialog, 6) == 6;
    });
    ShowPage("7-failed", "DownloadWithGUI", {{"missing.dat", ""}}, none, [](HWND dialog) {
        return WaitForPage(dialog, 1) == 1 && ClickOnPage(dialog, IDC_START_UPDATE) && WaitForPage(dialog, 7) == 7;
    });
    ShowPage("8-about", "ShowNoUpdateInfo", {}, none, [](HWND dialog) {
        PostMessageA(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        return WaitFor([] { return FindWindowA(nullptr, Gb(u8"关于 自动更新程序").c_str()) != nullptr; });
    });
    {
        ClientFolder client;
        KoravelProcess koravel(client.path(), "");
        if (koravel.WaitDialog("Koravel")) {
            Settle();
            HandOver("9-start-message");
        }
    }
    return 0;
}
