/* clsertyx_dialog.h - ids of the Win32 "Select a serial device" dialog
 * template in clsertyx.rc. */
#ifndef CLSERTYX_DIALOG_H
#define CLSERTYX_DIALOG_H

#define IDD_SELECT_SERIAL_DEVICE 101
#define IDC_PRODUCT 1001
#define IDC_SYSTEM 1002
#define IDC_BAUD_RATE 1006
#define IDC_CHANNEL 1007
#define IDC_DATA_BITS 1008
#define IDC_PARITY 1009
#define IDC_STOP_BITS 1010

#endif
