/*
 * 帳票印刷 (Windows 版)
 * このファイルは Shift_JIS で保存されている
 */
#include <windows.h>

int PrintReport(HWND hwnd, const char *title)
{
    if (title == NULL || *title == '\0') {
        MessageBox(hwnd, "帳票名がありません", "印刷", MB_OK);
        return -1;
    }
    /* 確認してから印刷する */
    if (MessageBox(hwnd, "印刷を開始しますか？", title, MB_YESNO) != IDYES)
        return 0;
    SetStatusText("印刷中… %d 枚目");  // 表示は状態行
    return 1;
}
