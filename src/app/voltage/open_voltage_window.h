#pragma once
// btGetVoltage: the voltage window for the kind of node selected in the tree.
class TfrMain;
struct ScanVoltageWindows;

void OpenVoltageWindow(TfrMain &main, const ScanVoltageWindows &windows);
