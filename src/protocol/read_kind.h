#pragma once
// What the most recent parameter read was for; decides what a GETZONE reply does and
// what the copy button of a compare window copies. Nothing resets it; each read sets it.

enum ReadKind : int {
    ReadNone = 0,       // nothing read yet since start
    ReadPd = 1,         // PD settings read for comparison
    ReadBc = 2,         // BC record, copy goes to the selected BC unit
    ReadAl = 3,         // AL record read for comparison
    ReadBcFromScan = 4, // BC record, copy goes to the BC with that address or a new one
    ReadAllAl = 5,      // AL sweep: records merged into the project as they arrive
    ReadNotify = 6,     // scenario read for comparison
};
