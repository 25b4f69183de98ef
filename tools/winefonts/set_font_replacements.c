/* Maps the faces 宋体 and SimSun onto an installed CJK font in the Wine prefix.
 * The value names are Chinese, so they are written through the Unicode registry call:
 * a command-line "reg add" would pass them through the console code page and garble them. */
#include <windows.h>
#include <stdio.h>

int wmain(int argc, wchar_t** argv) {
    const wchar_t* target = argc > 1 ? argv[1] : L"WenQuanYi Zen Hei";
    static const wchar_t* faces[] = {L"\x5B8B\x4F53" /* 宋体 */, L"SimSun", L"\x65B0\x5B8B\x4F53" /* 新宋体 */,
                                     L"NSimSun"};
    HKEY key;
    LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Fonts\\Replacements", 0, NULL, 0,
                              KEY_SET_VALUE, NULL, &key, NULL);
    if (rc != ERROR_SUCCESS) {
        fprintf(stderr, "cannot open the font replacement key (%ld)\n", rc);
        return 1;
    }
    int failures = 0;
    for (size_t i = 0; i < sizeof faces / sizeof faces[0]; ++i) {
        DWORD bytes = (DWORD)((wcslen(target) + 1) * sizeof(wchar_t));
        if (RegSetValueExW(key, faces[i], 0, REG_SZ, (const BYTE*)target, bytes) != ERROR_SUCCESS) ++failures;
    }
    RegCloseKey(key);
    return failures ? 1 : 0;
}
