-- Sample catalogue, part 2: spindle bearings, an oil-air lubrication and a
-- further sensor; adds to part 1 (merged after it, ids continue its own).
-- Packed at build time into bin/Korvantisdbs/KorvantisCatalogue2.dbenc.

INSERT INTO sensors VALUES (4, 'KVS-50 IEPE 50 mV/g', 7.0, 22.0);

INSERT INTO lubEntry VALUES (3, 'Oil-Air');

INSERT INTO prodFamilyEntry VALUES (3, 'Spindle Bearing');

INSERT INTO prodTypeEntry VALUES (5, 'Angular Contact');
INSERT INTO prodTypeEntry VALUES (6, 'Cylindrical Roller');

INSERT INTO prodSubTypeEntry VALUES (4, 'Sealed');

INSERT INTO prodSizeEntry VALUES (6, 50.0);
INSERT INTO prodSizeEntry VALUES (7, 65.0);

-- Rows printed by tools/dbenctool/designfilters.py (see part 1).
INSERT INTO filterEntry VALUES (4, 'BP 5 kHz - 30 kHz', 5000.0, 30000.0, 0.800592403465, -1.601184806929, 0.800592403465, -1.561018075801, 0.641351538058, 0.391335772502, 0.782671545004, 0.391335772502, 0.369527377351, 0.195815712656);
INSERT INTO filterEntry VALUES (5, 'BP 300 Hz - 3 kHz', 300.0, 3000.0, 0.986759780439, -1.973519560879, 0.986759780439, -1.973344249781, 0.973694871976, 0.007820208033, 0.015640416067, 0.007820208033, -1.734725768809, 0.766006600943);

-- channelid, Tau, Segmenttime, SegmentStatisticSelect, SKWselect, ReferenceScalefactor
INSERT INTO channelParam VALUES (5, 500.0, 2.0, 2, 1, 3.0);
INSERT INTO channelParam VALUES (6, 20000.0, 100.0, 0, 0, 2.5);

-- deviceid, family, type, variant, size
INSERT INTO DeviceEntry VALUES (101, 3, 5, 1, 6);
INSERT INTO DeviceEntry VALUES (102, 3, 5, 4, 6);
INSERT INTO DeviceEntry VALUES (103, 3, 5, 1, 7);
INSERT INTO DeviceEntry VALUES (104, 3, 6, 1, 7);
-- A larger linear guide, only for oil-air.
INSERT INTO DeviceEntry VALUES (105, 1, 1, 1, 5);

-- mappingid, device, lubrication, channel parameters, filter, Version
INSERT INTO Mapping VALUES (101, 101, 3, 5, 4, 1);
INSERT INTO Mapping VALUES (102, 101, 1, 6, 5, 1);
INSERT INTO Mapping VALUES (103, 102, 1, 6, 5, 1);
INSERT INTO Mapping VALUES (104, 103, 3, 5, 4, 1);
INSERT INTO Mapping VALUES (105, 103, 3, 5, 1, 2);
INSERT INTO Mapping VALUES (106, 104, 2, 6, 5, 1);
INSERT INTO Mapping VALUES (107, 105, 3, 1, 3, 1);
-- Oil-air for a linear guide of part 1.
INSERT INTO Mapping VALUES (108, 3, 3, 5, 3, 1);
