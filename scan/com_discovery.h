#pragma once
// COM port discovery: the device list into "Dev_Mng_" files, the ports among them with
// Prolific adapters first, the ones that can be opened into the COM list of the scan page and
// into "COM__Exist.txt", the scan targets. Every run rebuilds all of it.

#include <string>

#include "scan/scan_context.h"

namespace scan {

inline constexpr const char* kDevMngAll = "Dev_Mng_00_All_DEV.txt";
inline constexpr const char* kDevMngCom = "Dev_Mng_01_All_COM.txt";
inline constexpr const char* kDevMngProlific = "Dev_Mng_02_COM_IS_Prolific.txt";
inline constexpr const char* kDevMngOther = "Dev_Mng_03_COM_NOT_Prolific.txt";
inline constexpr const char* kDevMngFirst = "Dev_Mng_04_COM_Prolific_First.txt";
inline constexpr const char* kComExist = "COM__Exist.txt";
// Added to the list label of a port this user may not open.
inline constexpr const char* kNoPermissionMark = " [no permission]";

// The port number of a friendly name: after "(", the next "C", "O" and "M" in that order
// (other characters between them are skipped), then the digits up to ")". 1-256, else 0.
int fn_find_COMx_3092(const std::string& text);
// 1 when "Prolific" runs through the text; each matched character goes to the log (logi).
int fn_find_COMx_Prolific(ScanContext& ctx, const std::string& text);
// Writes the name of every present device (the COM folder's links, then the serial devices
// sysfs reports), one a line, to path. 0, or -1 when the file cannot be created.
// Was fn_Get_Windows_Device_Manager_data.
int fn_Write_Present_Devices(ScanContext& ctx, const std::string& path);

namespace ComList {
// The COM list control of the scan page.
int HHCC(ScanContext& ctx, int* panel, int* control);
// The whole discovery: the device list, the ports among it with Prolific adapters first, and
// those that open into the COM list and "COM__Exist.txt". 0, or -1 when the COM list cannot
// be cleared. Was Search_WIN32API_Prolific.
int Discover_Ports(ScanContext& ctx);
}  // namespace ComList

// "Search Available COM Port": the discovery on commit.
int evGetCom(ScanContext& ctx, int panel, int control, int event, void* data, int data1, int data2);
// The port watch's timer (every 0.5 s, on from start-up when there is a watch): the discovery
// again when a port came or went, unless a sweep runs; changes during a sweep wait for its end.
int evTHotplug(ScanContext& ctx, int panel, int control, int event, void* data, int data1,
               int data2);

}  // namespace scan
