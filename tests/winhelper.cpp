// winhelper: what a Windows test needs another program for.
//   winhelper hold FILE   opens FILE sharing reads only, as an editor may,
//                         says "held", and keeps it until standard input ends
//   winhelper lock FILE   locks all of FILE as a run of vexsum does, says
//                         "locked", and unlocks it when standard input ends
//   winhelper pipe NAME   serves the named pipe \\.\pipe\NAME, says "ready",
//                         and ends when its one client has gone
#include <cstdio>
#include <cstring>
#include <cwchar>

#include <windows.h>

static void
waitinput()
{
	char buf[64];
	while (fgets(buf, sizeof buf, stdin))
		;
}

int
wmain(int argc, wchar_t *argv[])
{
	if (argc == 3 && wcscmp(argv[1], L"hold") == 0) {
		HANDLE h = CreateFileW(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
		if (h == INVALID_HANDLE_VALUE)
			return 2;
		puts("held");
		fflush(stdout);
		waitinput();
		CloseHandle(h);
		return 0;
	}
	if (argc == 3 && wcscmp(argv[1], L"lock") == 0) {
		HANDLE h = CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
		                       nullptr, OPEN_EXISTING, 0, nullptr);
		OVERLAPPED from{};
		if (h == INVALID_HANDLE_VALUE || !LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &from))
			return 2;
		puts("locked");
		fflush(stdout);
		waitinput();
		UnlockFileEx(h, 0, MAXDWORD, MAXDWORD, &from);
		CloseHandle(h);
		return 0;
	}
	if (argc == 3 && wcscmp(argv[1], L"pipe") == 0) {
		wchar_t name[256];
		swprintf(name, 256, L"\\\\.\\pipe\\%ls", argv[2]);
		HANDLE h = CreateNamedPipeW(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr);
		if (h == INVALID_HANDLE_VALUE)
			return 2;
		puts("ready");
		fflush(stdout);
		if (!ConnectNamedPipe(h, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED)
			return 3;
		char buf[64];
		DWORD got;
		while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0)
			;
		CloseHandle(h);
		return 0;
	}
	fputs("usage: winhelper hold FILE | winhelper lock FILE | winhelper pipe NAME\n", stderr);
	return 2;
}
