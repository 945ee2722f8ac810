#!/usr/bin/env bash
# ZENTA.exe starts on Windows Vista: its import table names no library Vista lacks and no
# function that came with Windows 7 or later. A missing import stops the loader before the
# program's first line, so a call newer than Vista must be looked up at run time instead.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"

table=$(x86_64-w64-mingw32-objdump -p "$ZENTA_EXE") || fail "cannot read $ZENTA_EXE"
# "dll function" for each import, the library's name in lower case.
imports=$(awk '/DLL Name:/ { dll = tolower($3) }
               /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll, $3 }' <<<"$table")
# The process names come from psapi.dll itself: also shows the table was read at all.
for name in EnumProcessModules GetModuleBaseNameW GetModuleFileNameExW; do
  grep -qx "psapi.dll $name" <<<"$imports" || fail "$name is not imported from psapi.dll"
done

# Libraries Vista does not have.
newer_dlls='^(api-ms-win-.*|ext-ms-win-.*|shcore\.dll|ucrtbase\.dll|vcruntime[0-9]*\.dll|d3d12\.dll|dcomp\.dll) '
# Functions of the libraries the program uses that came with Windows 7, 8, 8.1 or 10.
newer_functions=(
  # kernel32
  TryAcquireSRWLockExclusive TryAcquireSRWLockShared GetLogicalProcessorInformationEx
  GetActiveProcessorCount GetCurrentProcessorNumberEx SetThreadGroupAffinity
  GetThreadGroupAffinity CreateRemoteThreadEx ResolveLocaleName AddDllDirectory
  RemoveDllDirectory SetDefaultDllDirectories GetSystemTimePreciseAsFileTime CreateFile2
  CopyFile2 GetOverlappedResultEx SetProcessMitigationPolicy GetFirmwareType
  InitializeSynchronizationBarrier PowerCreateRequest
  # user32
  ChangeWindowMessageFilterEx CalculatePopupWindowPosition SetWindowDisplayAffinity
  GetWindowDisplayAffinity RegisterTouchWindow UnregisterTouchWindow GetTouchInputInfo
  GetGestureInfo QueryDisplayConfig GetDisplayConfigBufferSizes SetDisplayConfig
  DisplayConfigGetDeviceInfo GetPointerInfo GetPointerType EnableNonClientDpiScaling
  GetDpiForWindow GetDpiForSystem SetProcessDpiAwarenessContext SetThreadDpiAwarenessContext
  GetThreadDpiAwarenessContext AreDpiAwarenessContextsEqual GetAwarenessFromDpiAwarenessContext
  GetWindowDpiAwarenessContext AdjustWindowRectExForDpi GetSystemMetricsForDpi
  SystemParametersInfoForDpi SetDialogDpiChangeBehavior SetDialogControlDpiChangeBehavior
  LogicalToPhysicalPointForPerMonitorDPI PhysicalToLogicalPointForPerMonitorDPI
  # shell32, dwmapi
  SetCurrentProcessExplicitAppUserModelID SHGetPropertyStoreForWindow Shell_NotifyIconGetRect
  DwmSetIconicThumbnail DwmSetIconicLivePreviewBitmap DwmInvalidateIconicBitmaps
)
pattern="$newer_dlls|^[^ ]+ (K32[A-Za-z]+|$(
  IFS='|'
  echo "${newer_functions[*]}"
))$"
found=$(grep -E "$pattern" <<<"$imports" | paste -sd ',' || true)
[[ -z $found ]] || fail "ZENTA.exe imports what Windows Vista lacks: $found"
