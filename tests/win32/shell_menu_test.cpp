// The context-menu extension as the file manager uses it: the object from
// the DLL's class factory, real file-drop data for real files, the menu, the
// help text, and the command that writes the handoff file and starts
// Quorv2.exe (a stand-in that records its run) from the install folder.
#include <windows.h>
#include <oleauto.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "shell/shell_ids_win32.h"
#include "tests/support/pixels_win32.h"
#include "tests/win32/shell_test_support.h"

namespace quorv::test {
namespace {

// Written out here on purpose rather than taken from the extension's header.
const CLSID kClsid = {0xA288D49F, 0x24DD, 0x4BD7, {0xBA, 0x44, 0x9D, 0x30, 0x98, 0x7A, 0x6C, 0xDD}};
const IID kIid = {0xB51D1351, 0xB41E, 0x4B3E, {0xB5, 0x9B, 0xD7, 0x68, 0x15, 0xBD, 0xA3, 0x35}};
const GUID kLibId = {0xDE45DF64, 0x03CD, 0x4D0F, {0x9E, 0x47, 0x1A, 0xF3, 0x65, 0x31, 0x6D, 0x9A}};

constexpr UINT kFirstId = 100;
constexpr UINT kLastId = 200;

HRESULT InvokeVerb(IContextMenu* menu, const char* verb) {
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof(info);
    info.lpVerb = verb;
    info.nShow = SW_SHOWNORMAL;
    return menu->InvokeCommand(&info);
}

HRESULT InvokeOffset(IContextMenu* menu, UINT offset) { return InvokeVerb(menu, MAKEINTRESOURCEA(offset)); }

std::wstring Bstr(BSTR text) {
    std::wstring out = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return out;
}

// A pop-up menu "one", "two", "three" with identifiers 1, 2, 3.
win::MenuHandle ThreeItemMenu() {
    win::MenuHandle menu(CreatePopupMenu());
    AppendMenuW(menu.get(), MF_STRING, 1, L"one");
    AppendMenuW(menu.get(), MF_STRING, 2, L"two");
    AppendMenuW(menu.get(), MF_STRING, 3, L"three");
    return menu;
}

struct MenuEntry {
    UINT id;
    bool separator;
    std::wstring text;
    HBITMAP checked;
    HBITMAP unchecked;
};

std::vector<MenuEntry> Entries(HMENU menu) {
    std::vector<MenuEntry> entries;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_CHECKMARKS | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = 256;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
        entries.push_back({item.wID, (item.fType & MFT_SEPARATOR) != 0, text, item.hbmpChecked, item.hbmpUnchecked});
    }
    return entries;
}

class ShellMenu : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(apartment_.result()));
        ASSERT_TRUE(dll_.loaded());
        ASSERT_TRUE(children_.ok());
        // The install folder has a space in its name; a program named after
        // its first word lies beside it and must never run.
        ASSERT_TRUE(MakeFolders(install_));
        ASSERT_TRUE(CopyTo(StandInProgram(), install_ + L"\\Quorv2.exe"));
        ASSERT_TRUE(CopyTo(StandInProgram(), temp_.Child(L"inst.exe")));
        installValue_.Set(install_);

        files_ = temp_.Child(L"files");
        std::wstring deep = files_;
        while (deep.size() < 290) deep += L"\\a folder whose name is long";
        ASSERT_TRUE(MakeFolders(deep));
        a_ = files_ + L"\\a.jpg";
        spaced_ = files_ + L"\\name with space.txt";
        long_ = deep + L"\\picture in a deep folder.jpg";
        for (const std::wstring& path : {a_, spaced_, long_}) ASSERT_TRUE(WriteBytes(path, "x"));
        ASSERT_GT(long_.size(), 300u);
    }
    void TearDown() override { children_.WaitForAll(); }

    win::ComPtr<IContextMenu> NewMenu() const { return dll_.Create<IContextMenu>(IID_IContextMenu); }

    // A menu object initialised with the paths (UTF-16 drop data).
    win::ComPtr<IContextMenu> MenuFor(const std::vector<std::wstring>& paths) const {
        win::ComPtr<IContextMenu> menu = NewMenu();
        win::ComPtr<IShellExtInit> init;
        if (menu.As(IID_IShellExtInit, init) == S_OK) init->Initialize(nullptr, MakeDropData(paths).get(), nullptr);
        return menu;
    }

    std::wstring Handoff() const { return install_ + L"\\Quorv2.qv2"; }

    static std::string Lines(const std::vector<std::wstring>& paths) {
        std::string text;
        for (const std::wstring& path : paths) text += Utf8(path) + "\r\n";
        return text;
    }

    win::ComApartment apartment_;
    ShellDll dll_{BuiltShellDll()};
    TempDir temp_{"quorv-menu"};
    std::wstring install_ = temp_.Child(L"inst dir");
    InstallFolderValue installValue_;
    ChildProcesses children_;
    std::wstring files_, a_, spaced_, long_;
};

TEST_F(ShellMenu, ClassFactoryAndInterfaceOrder) {
    win::ComPtr<IClassFactory> factory;
    EXPECT_EQ(dll_.GetClassObject(kIid, IID_IClassFactory, factory.put_void()), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_FALSE(factory);
    ASSERT_EQ(dll_.GetClassObject(kClsid, IID_IClassFactory, factory.put_void()), S_OK);
    win::ComPtr<IContextMenu> notFactory;
    EXPECT_EQ(factory.As(IID_IContextMenu, notFactory), E_NOINTERFACE);

    // No aggregation.
    const win::ComPtr<IDataObject> outer = MakeDataWithoutDrop();
    win::ComPtr<IUnknown> object;
    EXPECT_EQ(factory->CreateInstance(outer.get(), IID_IUnknown, object.put_void()), CLASS_E_NOAGGREGATION);
    EXPECT_FALSE(object);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPersist, object.put_void()), E_NOINTERFACE);
    EXPECT_FALSE(object);

    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, object.put_void()), S_OK);
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(object->Release(), 1u);

    void* own = nullptr;
    void* dispatch = nullptr;
    void* init = nullptr;
    void* menu = nullptr;
    void* unknown = nullptr;
    ASSERT_EQ(object->QueryInterface(kIid, &own), S_OK);
    ASSERT_EQ(object->QueryInterface(IID_IDispatch, &dispatch), S_OK);
    ASSERT_EQ(object->QueryInterface(IID_IShellExtInit, &init), S_OK);
    ASSERT_EQ(object->QueryInterface(IID_IContextMenu, &menu), S_OK);
    // IUnknown is the first interface, IQuorvaneShell, which also serves IDispatch.
    ASSERT_EQ(static_cast<IContextMenu*>(menu)->QueryInterface(IID_IUnknown, &unknown), S_OK);
    EXPECT_EQ(unknown, object.get());
    EXPECT_EQ(own, object.get());
    EXPECT_EQ(dispatch, own);
    EXPECT_NE(init, own);
    EXPECT_NE(menu, own);
    EXPECT_NE(menu, init);
    for (void* p : {own, dispatch, init, menu, unknown}) static_cast<IUnknown*>(p)->Release();

    const IID absent[] = {IID_IContextMenu2, IID_IContextMenu3, IID_IPersist, IID_IClassFactory, IID_IObjectWithSite};
    for (const IID& iid : absent) {
        void* p = reinterpret_cast<void*>(1);
        EXPECT_EQ(object->QueryInterface(iid, &p), E_NOINTERFACE);
        EXPECT_EQ(p, nullptr);
    }
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(ShellMenu, DllCanUnloadNowWhileObjectsOrLocksLive) {
    ASSERT_EQ(dll_.CanUnloadNow(), S_OK);
    win::ComPtr<IClassFactory> factory;
    ASSERT_EQ(dll_.GetClassObject(kClsid, IID_IClassFactory, factory.put_void()), S_OK);
    EXPECT_EQ(dll_.CanUnloadNow(), S_FALSE);
    win::ComPtr<IContextMenu> menu;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, menu.put_void()), S_OK);
    factory.reset();
    EXPECT_EQ(dll_.CanUnloadNow(), S_FALSE);
    menu.reset();
    EXPECT_EQ(dll_.CanUnloadNow(), S_OK);

    ASSERT_EQ(dll_.GetClassObject(kClsid, IID_IClassFactory, factory.put_void()), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory.reset();
    EXPECT_EQ(dll_.CanUnloadNow(), S_FALSE);
    ASSERT_EQ(dll_.GetClassObject(kClsid, IID_IClassFactory, factory.put_void()), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory.reset();
    EXPECT_EQ(dll_.CanUnloadNow(), S_OK);
}

TEST_F(ShellMenu, DispatchIsServedFromTheDllsTypeLibrary) {
    for (int round = 0; round < 2; ++round) {  // the second object uses the library already loaded
        SCOPED_TRACE(round);
        win::ComPtr<IDispatch> dispatch = dll_.Create<IDispatch>(IID_IDispatch);
        ASSERT_TRUE(dispatch);
        UINT count = 0;
        EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
        EXPECT_EQ(count, 1u);

        win::ComPtr<ITypeInfo> info;
        EXPECT_EQ(dispatch->GetTypeInfo(1, 0, info.put()), DISP_E_BADINDEX);
        EXPECT_FALSE(info);
        ASSERT_EQ(dispatch->GetTypeInfo(0, 0, info.put()), S_OK);
        TYPEATTR* attributes = nullptr;
        ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
        EXPECT_TRUE(IsEqualGUID(attributes->guid, kIid));
        EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
        EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FDUAL);
        info->ReleaseTypeAttr(attributes);
        BSTR name = nullptr, doc = nullptr;
        ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, &doc, nullptr, nullptr), S_OK);
        EXPECT_EQ(Bstr(name), L"IQuorvaneShell");
        EXPECT_EQ(Bstr(doc), L"IQuorvaneShell Interface");

        win::ComPtr<ITypeLib> library;
        UINT index = 0;
        ASSERT_EQ(info->GetContainingTypeLib(library.put(), &index), S_OK);
        TLIBATTR* libAttributes = nullptr;
        ASSERT_EQ(library->GetLibAttr(&libAttributes), S_OK);
        EXPECT_TRUE(IsEqualGUID(libAttributes->guid, kLibId));
        EXPECT_EQ(libAttributes->wMajorVerNum, 1);
        EXPECT_EQ(libAttributes->wMinorVerNum, 0);
        library->ReleaseTLibAttr(libAttributes);
        ASSERT_EQ(library->GetDocumentation(-1, &name, &doc, nullptr, nullptr), S_OK);
        EXPECT_EQ(Bstr(name), L"QuorvShellLib");
        EXPECT_EQ(Bstr(doc), L"QuorvShell 1.0 Type Library");
        win::ComPtr<ITypeInfo> coclass;
        ASSERT_EQ(library->GetTypeInfoOfGuid(kClsid, coclass.put()), S_OK);
        ASSERT_EQ(coclass->GetDocumentation(MEMBERID_NIL, &name, &doc, nullptr, nullptr), S_OK);
        EXPECT_EQ(Bstr(name), L"QuorvaneShell");
        EXPECT_EQ(Bstr(doc), L"QuorvaneShell Class");

        // No methods of its own.
        wchar_t member[] = L"Rename";
        LPOLESTR names[] = {member};
        DISPID id = 0;
        EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
        EXPECT_EQ(dispatch->GetIDsOfNames(IID_IUnknown, names, 1, 0, &id), DISP_E_UNKNOWNINTERFACE);
        DISPPARAMS none{};
        EXPECT_EQ(dispatch->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
                  DISP_E_MEMBERNOTFOUND);
        EXPECT_EQ(dispatch->Invoke(1, IID_IUnknown, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
                  DISP_E_UNKNOWNINTERFACE);
    }
}

TEST_F(ShellMenu, ResourcesAndIdentifiers) {
    const HMODULE module = dll_.module();
    const HRSRC bitmap = FindResourceW(module, MAKEINTRESOURCEW(202), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    ASSERT_TRUE(bitmap);
    ASSERT_GE(SizeofResource(module, bitmap), sizeof(BITMAPINFOHEADER) + 16 * 16 * 3);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, bitmap)));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->biWidth, 16);
    EXPECT_EQ(header->biHeight, 16);
    EXPECT_EQ(header->biBitCount, 24);
    EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));

    wchar_t text[64] = {};
    EXPECT_EQ(LoadStringW(module, 100, text, 64), 10);
    EXPECT_EQ(std::wstring(text), L"QuorvShell");
    EXPECT_TRUE(FindResourceW(module, MAKEINTRESOURCEW(1), L"TYPELIB"));

    // The identifiers the extension's header computes from its texts.
    EXPECT_TRUE(IsEqualGUID(shell::kClsidQuorvaneShell, kClsid));
    EXPECT_TRUE(IsEqualGUID(shell::kIidQuorvaneShell, kIid));
    EXPECT_TRUE(IsEqualGUID(shell::kLibIdQuorvShell, kLibId));
    GUID appId{};
    ASSERT_EQ(CLSIDFromString(L"{5FD694AE-FE75-4C09-8770-F0FD5BB75CE1}", &appId), S_OK);
    EXPECT_TRUE(IsEqualGUID(shell::kAppIdQuorvShell, appId));
}

TEST_F(ShellMenu, QueryContextMenuPutsTheSeparatorAboveTheItem) {
    win::ComPtr<IContextMenu> menu = NewMenu();
    ASSERT_TRUE(menu);

    win::MenuHandle popup = ThreeItemMenu();
    EXPECT_EQ(menu->QueryContextMenu(popup.get(), 1, kFirstId, kLastId, CMF_DEFAULTONLY), S_OK);
    EXPECT_EQ(menu->QueryContextMenu(popup.get(), 1, kFirstId, kLastId, CMF_DEFAULTONLY | CMF_EXPLORE), S_OK);
    EXPECT_EQ(GetMenuItemCount(popup.get()), 3);
    // A host with no identifier to offer gets nothing either.
    EXPECT_EQ(menu->QueryContextMenu(popup.get(), 1, kLastId + 1, kLastId, CMF_NORMAL), S_OK);
    EXPECT_EQ(GetMenuItemCount(popup.get()), 3);

    const HRESULT hr = menu->QueryContextMenu(popup.get(), 1, kFirstId, kLastId, CMF_NORMAL | CMF_EXPLORE);
    EXPECT_EQ(hr, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
    const std::vector<MenuEntry> entries = Entries(popup.get());
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].id, 1u);
    EXPECT_TRUE(entries[1].separator);
    EXPECT_EQ(entries[2].id, kFirstId);
    EXPECT_FALSE(entries[2].separator);
    EXPECT_EQ(entries[2].text, L"&Batch Rename files...");
    EXPECT_EQ(entries[3].id, 2u);
    EXPECT_EQ(entries[4].id, 3u);

    // At the top of an empty menu.
    win::MenuHandle empty(CreatePopupMenu());
    EXPECT_EQ(menu->QueryContextMenu(empty.get(), 0, 7, 7, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
    const std::vector<MenuEntry> two = Entries(empty.get());
    ASSERT_EQ(two.size(), 2u);
    EXPECT_TRUE(two[0].separator);
    EXPECT_EQ(two[1].id, 7u);
}

TEST_F(ShellMenu, TheBitmapComesOnlyFromTheInstallFolderDll) {
    // This DLL lies beside the test, not in the install folder: no bitmap.
    {
        win::ComPtr<IContextMenu> menu = NewMenu();
        win::MenuHandle popup = ThreeItemMenu();
        ASSERT_EQ(menu->QueryContextMenu(popup.get(), 0, kFirstId, kLastId, CMF_NORMAL), 1);
        const MenuEntry item = Entries(popup.get())[1];
        EXPECT_EQ(item.id, kFirstId);
        EXPECT_EQ(item.checked, nullptr);
        EXPECT_EQ(item.unchecked, nullptr);
    }
    const std::wstring installed = install_ + L"\\QuorvShell.dll";
    ASSERT_TRUE(CopyTo(BuiltShellDll(), installed));
    {
        ShellDll copy(installed);
        ASSERT_TRUE(copy.loaded());
        ASSERT_NE(copy.module(), dll_.module());
        win::ComPtr<IContextMenu> menu = copy.Create<IContextMenu>(IID_IContextMenu);
        ASSERT_TRUE(menu);
        win::MenuHandle popup = ThreeItemMenu();
        ASSERT_EQ(menu->QueryContextMenu(popup.get(), 0, kFirstId, kLastId, CMF_NORMAL), 1);
        const MenuEntry item = Entries(popup.get())[1];
        EXPECT_EQ(item.id, kFirstId);
        ASSERT_NE(item.checked, nullptr);
        EXPECT_EQ(item.checked, item.unchecked);
        BITMAP info{};
        ASSERT_EQ(GetObjectW(item.checked, sizeof(info), &info), static_cast<int>(sizeof(info)));
        EXPECT_EQ(info.bmWidth, 16);
        EXPECT_EQ(info.bmHeight, 16);

        // Without an install folder value there is no bitmap either.
        installValue_.Remove();
        win::ComPtr<IContextMenu> second = copy.Create<IContextMenu>(IID_IContextMenu);
        win::MenuHandle other = ThreeItemMenu();
        ASSERT_EQ(second->QueryContextMenu(other.get(), 0, kFirstId, kLastId, CMF_NORMAL), 1);
        EXPECT_EQ(Entries(other.get())[1].checked, nullptr);
        menu.reset();
        second.reset();
        EXPECT_EQ(copy.CanUnloadNow(), S_OK);
    }
}

// The menu as a user sees it, with the item's bitmap drawn by the system.
// The picture is kept beside the test as shell_menu.bmp for review.
struct MenuPicture {
    RECT rect{};
    std::vector<DWORD> pixels;  // top-down, 0x00RRGGBB
};
MenuPicture* g_picture = nullptr;

VOID CALLBACK CaptureOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
    const HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup) || !g_picture || !g_picture->pixels.empty()) return;
    GetWindowRect(popup, &g_picture->rect);
    const ScreenImage image(g_picture->rect);
    g_picture->pixels.assign(image.bits().begin(), image.bits().end());
    EndMenu();
}

void SaveBmp(const std::wstring& path, const MenuPicture& picture) {
    const int w = picture.rect.right - picture.rect.left, h = picture.rect.bottom - picture.rect.top;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = w;
    header.biHeight = -h;
    header.biPlanes = 1;
    header.biBitCount = 32;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(picture.pixels.size() * 4);
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&header), sizeof(header));
    bytes.append(reinterpret_cast<const char*>(picture.pixels.data()), picture.pixels.size() * 4);
    WriteBytes(path, bytes);
}

TEST_F(ShellMenu, TheItemShowsItsBitmapInAnOpenMenu) {
    const std::wstring installed = install_ + L"\\QuorvShell.dll";
    ASSERT_TRUE(CopyTo(BuiltShellDll(), installed));
    ShellDll copy(installed);
    win::ComPtr<IContextMenu> menu = copy.Create<IContextMenu>(IID_IContextMenu);
    ASSERT_TRUE(menu);
    win::MenuHandle popup = ThreeItemMenu();
    ASSERT_EQ(menu->QueryContextMenu(popup.get(), 1, kFirstId, kLastId, CMF_NORMAL), 1);

    win::WindowHandle owner(CreateWindowExW(0, L"STATIC", L"menu owner", WS_POPUP | WS_VISIBLE, 100, 100, 50, 50,
                                            nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(owner);
    SetForegroundWindow(owner.get());
    MenuPicture picture;
    g_picture = &picture;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, CaptureOpenMenu);
    TrackPopupMenuEx(popup.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, 120, 120, owner.get(), nullptr);
    KillTimer(nullptr, timer);
    g_picture = nullptr;
    ASSERT_FALSE(picture.pixels.empty()) << "the menu never opened";
    SaveBmp(TestFolder() + L"\\shell_menu.bmp", picture);

    // The pencil's orange (0xE08A1E) of the item's bitmap is on the screen.
    const auto orange = std::count(picture.pixels.begin(), picture.pixels.end(), DWORD(0xE08A1E));
    EXPECT_GE(orange, 4);
    menu.reset();
}

TEST_F(ShellMenu, HelpTextIsCutToFitInBothForms) {
    win::ComPtr<IContextMenu> menu = NewMenu();
    ASSERT_TRUE(menu);
    char narrow[64];
    wchar_t wide[64];

    std::fill(std::begin(narrow), std::end(narrow), 'x');
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, narrow, 64), S_OK);
    EXPECT_STREQ(narrow, "Rename selected files with Quorvane2.");

    std::fill(std::begin(narrow), std::end(narrow), 'x');
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, narrow, 5), S_OK);
    EXPECT_EQ(std::string(narrow, 6), std::string("Rena\0x", 6));

    std::fill(std::begin(narrow), std::end(narrow), 'x');
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, narrow, 1), S_OK);
    EXPECT_EQ(std::string(narrow, 2), std::string("\0x", 2));
    // Exactly the text's length: the last character gives way to the terminator.
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, narrow, 37), S_OK);
    EXPECT_STREQ(narrow, "Rename selected files with Quorvane2");

    std::fill(std::begin(wide), std::end(wide), L'x');
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(wide), 64), S_OK);
    EXPECT_STREQ(wide, L"Rename selected files with Quorvane2.");
    std::fill(std::begin(wide), std::end(wide), L'x');
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(wide), 7), S_OK);
    EXPECT_EQ(std::wstring(wide, 8), std::wstring(L"Rename\0x", 8));

    std::fill(std::begin(narrow), std::end(narrow), 'x');
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, narrow, 0), E_INVALIDARG);
    EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, narrow, 0x80000000u), E_INVALIDARG);
    EXPECT_EQ(narrow[0], 'x');
    EXPECT_EQ(menu->GetCommandString(0, GCS_VALIDATEA, nullptr, nullptr, 0), S_OK);
    for (UINT type : {UINT(GCS_VERBA), UINT(GCS_VERBW), UINT(GCS_VALIDATEW), 3u, 7u}) {
        SCOPED_TRACE(type);
        EXPECT_EQ(menu->GetCommandString(0, type, nullptr, narrow, 64), E_INVALIDARG);
    }
    EXPECT_EQ(menu->GetCommandString(1, GCS_HELPTEXTA, nullptr, narrow, 64), E_INVALIDARG);
    EXPECT_EQ(menu->GetCommandString(1, GCS_VALIDATEA, nullptr, narrow, 64), E_INVALIDARG);
    EXPECT_EQ(narrow[0], 'x');
}

TEST_F(ShellMenu, TheCommandWritesTheSelectionAndStartsTheProgram) {
    win::ComPtr<IContextMenu> menu = NewMenu();
    ASSERT_TRUE(menu);
    win::ComPtr<IShellExtInit> init;
    ASSERT_EQ(menu.As(IID_IShellExtInit, init), S_OK);
    // A second Initialize adds to the first; ANSI drop data works as well.
    EXPECT_EQ(init->Initialize(nullptr, MakeDropData({a_, long_}).get(), nullptr), S_OK);
    EXPECT_EQ(init->Initialize(nullptr, MakeDropData({spaced_}, false).get(), nullptr), S_OK);
    EXPECT_EQ(init->Initialize(nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(init->Initialize(nullptr, MakeDataWithoutDrop().get(), nullptr), S_OK);
    EXPECT_FALSE(Exists(Handoff()));  // nothing is written before the command

    EXPECT_EQ(InvokeOffset(menu.get(), 0), S_OK);
    const std::string expected = Lines({a_, long_, spaced_});
    EXPECT_EQ(ReadBytes(Handoff()).value_or("<none>"), expected);
    // The long path arrived whole.
    EXPECT_NE(expected.find(Utf8(long_) + "\r\n"), std::string::npos);

    const std::vector<StandInRun> runs = WaitForStandInRuns(install_, 1);
    ASSERT_EQ(runs.size(), 1u);
    const std::wstring program = install_ + L"\\Quorv2.exe";
    EXPECT_EQ(runs[0].module, Utf8(program));
    EXPECT_EQ(runs[0].commandLine, "\"" + Utf8(program) + "\"");
    EXPECT_EQ(runs[0].handoff, expected);  // complete before the program started
    EXPECT_EQ(children_.Started(), 1u);
    // The program named by the command line's first word never ran.
    EXPECT_TRUE(StandInRuns(temp_.widePath()).empty());
}

TEST_F(ShellMenu, NoDropDataGivesAnEmptyHandoffFile) {
    win::ComPtr<IContextMenu> menu = NewMenu();
    win::ComPtr<IShellExtInit> init;
    ASSERT_EQ(menu.As(IID_IShellExtInit, init), S_OK);
    EXPECT_EQ(init->Initialize(nullptr, MakeDataWithoutDrop().get(), nullptr), S_OK);
    EXPECT_EQ(InvokeOffset(menu.get(), 0), S_OK);
    EXPECT_EQ(ReadBytes(Handoff()).value_or("<none>"), "");
    EXPECT_EQ(WaitForStandInRuns(install_, 1).size(), 1u);
}

TEST_F(ShellMenu, OtherVerbsDoNothing) {
    win::ComPtr<IContextMenu> menu = MenuFor({a_});
    ASSERT_TRUE(menu);
    EXPECT_EQ(InvokeOffset(menu.get(), 1), S_OK);
    EXPECT_EQ(InvokeOffset(menu.get(), 0xFFFF), S_OK);
    EXPECT_EQ(InvokeVerb(menu.get(), "rename"), S_OK);
    EXPECT_EQ(menu->InvokeCommand(nullptr), S_OK);
    // A verb string whose address has its low 16 bits clear is still a string.
    void* page = VirtualAlloc(nullptr, 65536, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_TRUE(page);
    ASSERT_EQ(reinterpret_cast<UINT_PTR>(page) & 0xFFFF, 0u);
    std::strcpy(static_cast<char*>(page), "batchrename");
    EXPECT_EQ(InvokeVerb(menu.get(), static_cast<const char*>(page)), S_OK);
    VirtualFree(page, 0, MEM_RELEASE);

    EXPECT_FALSE(Exists(Handoff()));
    EXPECT_EQ(children_.Started(), 0u);
}

TEST_F(ShellMenu, AnUnreadHandoffFileKeepsItsEntriesAndNothingElse) {
    struct Case {
        const char* what;
        std::string before;
        std::string kept;
    };
    const std::string longer = "C:\\An earlier and much longer selection\\of pictures\\number one.jpg\r\n";
    const Case cases[] = {
        {"entries from before stay in front", longer + longer, longer + longer},
        {"a broken last line goes", longer + "C:\\broken", longer},
        {"bytes behind a zero byte go", longer + std::string("\0C:\\x\r\n", 7), longer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteBytes(Handoff(), c.before));
        win::ComPtr<IContextMenu> menu = MenuFor({a_});
        EXPECT_EQ(InvokeOffset(menu.get(), 0), S_OK);
        EXPECT_EQ(ReadBytes(Handoff()).value_or("<none>"), c.kept + Lines({a_}));
        DeleteFileW(Handoff().c_str());
    }
}

TEST_F(ShellMenu, TwoQuickCommandsKeepBothSelections) {
    win::ComPtr<IContextMenu> first = MenuFor({a_, spaced_});
    win::ComPtr<IContextMenu> second = MenuFor({long_});
    EXPECT_EQ(InvokeOffset(first.get(), 0), S_OK);
    EXPECT_EQ(InvokeOffset(second.get(), 0), S_OK);
    EXPECT_EQ(ReadBytes(Handoff()).value_or("<none>"), Lines({a_, spaced_, long_}));
    EXPECT_EQ(children_.Started(), 2u);

    // A starting program holds the file while it reads it: the command waits
    // for it and then adds its entries. (The two programs started above may
    // still be reading the file: they finish first.)
    children_.WaitForAll();
    const std::string before = Lines({spaced_});
    ASSERT_TRUE(WriteBytes(Handoff(), before));
    win::FileHandle held(CreateFileW(Handoff().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    std::thread reader([&held] {
        Sleep(200);
        held.reset();
    });
    win::ComPtr<IContextMenu> third = MenuFor({a_});
    EXPECT_EQ(InvokeOffset(third.get(), 0), S_OK);
    reader.join();
    EXPECT_EQ(ReadBytes(Handoff()).value_or("<none>"), before + Lines({a_}));
    EXPECT_EQ(children_.Started(), 3u);
}

TEST_F(ShellMenu, AHandoffFileHeldTooLongMeansNoStart) {
    const std::string before = Lines({spaced_});
    ASSERT_TRUE(WriteBytes(Handoff(), before));
    win::FileHandle held(CreateFileW(Handoff().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    win::ComPtr<IContextMenu> menu = MenuFor({a_});
    EXPECT_EQ(InvokeOffset(menu.get(), 0), S_OK);
    held.reset();
    EXPECT_EQ(ReadBytes(Handoff()).value_or("<none>"), before);
    EXPECT_EQ(children_.Started(), 0u);
}

TEST_F(ShellMenu, AnInstallFolderBeyond259CharactersIsReadWhole) {
    std::wstring deep = install_;
    while (deep.size() < 300) deep += L"\\another long folder name";
    ASSERT_TRUE(MakeFolders(deep));
    installValue_.Set(deep);
    win::ComPtr<IContextMenu> menu = MenuFor({a_});
    EXPECT_EQ(InvokeOffset(menu.get(), 0), S_OK);
    EXPECT_EQ(ReadBytes(deep + L"\\Quorv2.qv2").value_or("<none>"), Lines({a_}));
    EXPECT_FALSE(Exists(Handoff()));
}

TEST_F(ShellMenu, WithoutInstallFolderTheDllsOwnFolderIsUsed) {
    const std::wstring program = temp_.Child(L"program");
    ASSERT_TRUE(MakeFolders(program));
    ASSERT_TRUE(CopyTo(BuiltShellDll(), program + L"\\QuorvShell.dll"));
    ASSERT_TRUE(CopyTo(StandInProgram(), program + L"\\Quorv2.exe"));
    installValue_.Remove();

    // Nothing may land in the root folder of the current drive.
    wchar_t oldDirectory[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, oldDirectory);
    ASSERT_TRUE(SetCurrentDirectoryW(temp_.widePath().c_str()));
    const std::wstring rootHandoff = temp_.widePath().substr(0, 2) + L"\\Quorv2.qv2";
    ASSERT_FALSE(Exists(rootHandoff));
    {
        ShellDll copy(program + L"\\QuorvShell.dll");
        ASSERT_TRUE(copy.loaded());
        win::ComPtr<IContextMenu> menu = copy.Create<IContextMenu>(IID_IContextMenu);
        win::ComPtr<IShellExtInit> init;
        ASSERT_EQ(menu.As(IID_IShellExtInit, init), S_OK);
        ASSERT_EQ(init->Initialize(nullptr, MakeDropData({a_}).get(), nullptr), S_OK);
        EXPECT_EQ(InvokeOffset(menu.get(), 0), S_OK);
    }
    SetCurrentDirectoryW(oldDirectory);
    EXPECT_FALSE(Exists(rootHandoff));
    EXPECT_EQ(ReadBytes(program + L"\\Quorv2.qv2").value_or("<none>"), Lines({a_}));
    const std::vector<StandInRun> runs = WaitForStandInRuns(program, 1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].module, Utf8(program + L"\\Quorv2.exe"));
}

// The handoff file holds UTF-8 whatever the file manager's code page: names
// outside it (Japanese, Greek, Cyrillic, an emoji) arrive whole, and names
// inside it (accents) as UTF-8 too.
TEST_F(ShellMenu, PathsAreWrittenInUtf8) {
    const std::wstring accented = files_ + L"\\caf\u00e9 \u00e0 la cr\u00e8me.jpg";
    const std::wstring scripts = files_ + L"\\\u8868-\u03b1\u03b2\u03b3-\u0416-\U0001F600.jpg";
    for (const std::wstring& path : {accented, scripts}) ASSERT_TRUE(WriteBytes(path, "x"));
    win::ComPtr<IContextMenu> menu = MenuFor({accented, scripts});
    EXPECT_EQ(InvokeOffset(menu.get(), 0), S_OK);
    const std::string written = Utf8(files_) + "\\caf\xC3\xA9 \xC3\xA0 la cr\xC3\xA8me.jpg\r\n" + Utf8(files_) +
                                "\\\xE8\xA1\xA8-\xCE\xB1\xCE\xB2\xCE\xB3-\xD0\x96-\xF0\x9F\x98\x80.jpg\r\n";
    EXPECT_EQ(ReadBytes(Handoff()).value_or("<none>"), written);
    children_.WaitForAll();
    // A half of a surrogate pair that stands alone becomes U+FFFD (the file
    // is still unread, so its entries stay in front).
    menu = MenuFor({std::wstring(L"C:\\a\xD83D" L"b.jpg")});
    EXPECT_EQ(InvokeOffset(menu.get(), 0), S_OK);
    EXPECT_EQ(ReadBytes(Handoff()).value_or("<none>"), written + "C:\\a\xEF\xBF\xBD" "b.jpg\r\n");
}

}  // namespace
}  // namespace quorv::test
