-- Sample catalogue, part 1: sensors, linear guides and ball screws.
-- Packed at build time into bin/Korvantisdbs/KorvantisCatalogue1.dbenc.
-- The tables themselves are created by the packer; this file only adds rows.
-- Units: IEPE limits in volts, filter corners in Hz, Tau and Segmenttime as
-- the catalogue states them (the selection page scales them for the unit),
-- ReferenceScalefactor as a plain factor.

INSERT INTO sensors VALUES (1, 'KVS-100 IEPE 100 mV/g', 6.0, 18.0);
INSERT INTO sensors VALUES (2, 'KVS-500 IEPE 500 mV/g', 8.0, 20.0);
INSERT INTO sensors VALUES (3, 'KVS-10 IEPE 10 mV/g', 2.5, 24.0);

INSERT INTO lubEntry VALUES (1, 'Grease');
INSERT INTO lubEntry VALUES (2, 'Oil');

INSERT INTO prodFamilyEntry VALUES (1, 'Linear Guide');
INSERT INTO prodFamilyEntry VALUES (2, 'Ball Screw');

INSERT INTO prodTypeEntry VALUES (1, 'Flange Carriage');
INSERT INTO prodTypeEntry VALUES (2, 'Narrow Carriage');
INSERT INTO prodTypeEntry VALUES (3, 'Single Nut');
INSERT INTO prodTypeEntry VALUES (4, 'Double Nut');

INSERT INTO prodSubTypeEntry VALUES (1, 'Standard');
INSERT INTO prodSubTypeEntry VALUES (2, 'Long');
INSERT INTO prodSubTypeEntry VALUES (3, 'High Preload');

INSERT INTO prodSizeEntry VALUES (1, 15.0);
INSERT INTO prodSizeEntry VALUES (2, 20.0);
INSERT INTO prodSizeEntry VALUES (3, 25.0);
INSERT INTO prodSizeEntry VALUES (4, 32.0);
INSERT INTO prodSizeEntry VALUES (5, 40.0);

-- Band-pass filters: a Butterworth high-pass section at the lower corner,
-- then a Butterworth low-pass section at the upper corner, at 100 kHz
-- sampling; rows printed by tools/dbenctool/designfilters.py.
INSERT INTO filterEntry VALUES (1, 'BP 500 Hz - 5 kHz', 500.0, 5000.0, 0.978030479207, -1.956060958413, 0.978030479207, -1.955578240315, 0.956543676511, 0.020083365564, 0.040166731128, 0.020083365564, -1.561018075801, 0.641351538058);
INSERT INTO filterEntry VALUES (2, 'BP 1 kHz - 10 kHz', 1000.0, 10000.0, 0.956543225557, -1.913086451114, 0.956543225557, -1.911197067426, 0.914975834801, 0.067455273889, 0.134910547778, 0.067455273889, -1.142980502540, 0.412801598096);
INSERT INTO filterEntry VALUES (3, 'BP 2 kHz - 20 kHz', 2000.0, 20000.0, 0.914969144113, -1.829938288226, 0.914969144113, -1.822694925196, 0.837181651256, 0.206572083826, 0.413144167652, 0.206572083826, -0.369527377351, 0.195815712656);

-- channelid, Tau, Segmenttime, SegmentStatisticSelect, SKWselect, ReferenceScalefactor
INSERT INTO channelParam VALUES (1, 5000.0, 20.0, 1, 2, 1.5);
INSERT INTO channelParam VALUES (2, 2000.0, 10.0, 0, 1, 1.0);
INSERT INTO channelParam VALUES (3, 10000.0, 50.0, 2, 2, 2.0);
INSERT INTO channelParam VALUES (4, 1000.0, 5.0, 1, 0, 1.2);

-- deviceid, family, type, variant, size
INSERT INTO DeviceEntry VALUES (1, 1, 1, 1, 1);
INSERT INTO DeviceEntry VALUES (2, 1, 1, 1, 2);
INSERT INTO DeviceEntry VALUES (3, 1, 1, 1, 3);
INSERT INTO DeviceEntry VALUES (4, 1, 1, 2, 2);
INSERT INTO DeviceEntry VALUES (5, 1, 1, 2, 3);
INSERT INTO DeviceEntry VALUES (6, 1, 2, 1, 3);
INSERT INTO DeviceEntry VALUES (7, 2, 3, 1, 4);
INSERT INTO DeviceEntry VALUES (8, 2, 3, 1, 5);
INSERT INTO DeviceEntry VALUES (9, 2, 4, 3, 5);

-- mappingid, device, lubrication, channel parameters, filter, Version
INSERT INTO Mapping VALUES (1, 1, 1, 1, 3, 1);
INSERT INTO Mapping VALUES (2, 1, 2, 2, 3, 1);
INSERT INTO Mapping VALUES (3, 2, 1, 1, 2, 1);
INSERT INTO Mapping VALUES (4, 2, 2, 2, 2, 1);
INSERT INTO Mapping VALUES (5, 2, 1, 3, 2, 2);
INSERT INTO Mapping VALUES (6, 3, 1, 1, 2, 1);
INSERT INTO Mapping VALUES (7, 3, 2, 2, 2, 1);
INSERT INTO Mapping VALUES (8, 4, 1, 1, 2, 1);
INSERT INTO Mapping VALUES (9, 5, 1, 3, 1, 1);
INSERT INTO Mapping VALUES (10, 5, 1, 3, 2, 2);
INSERT INTO Mapping VALUES (11, 6, 1, 1, 2, 1);
INSERT INTO Mapping VALUES (12, 6, 2, 4, 3, 1);
INSERT INTO Mapping VALUES (13, 7, 1, 3, 1, 1);
INSERT INTO Mapping VALUES (14, 7, 2, 4, 1, 1);
INSERT INTO Mapping VALUES (15, 8, 1, 3, 1, 1);
INSERT INTO Mapping VALUES (16, 9, 1, 3, 1, 1);
INSERT INTO Mapping VALUES (17, 9, 2, 4, 2, 1);
