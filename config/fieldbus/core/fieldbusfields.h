#pragma once

#include <QString>
#include <cstdint>

#include "configrecords.h"

// The fields of the fieldbus module record as the fieldbus page edits them:
// which page and blocks a network type has, and the conversions between
// record bytes and the texts, indexes and numbers of the page's inputs. A
// setter changes only its own field, and only when the input means a
// different value than the field holds, so an unrelated edit never rewrites
// (and so never loses) bytes the page cannot show.
namespace fieldbus {

// The pages of the type stack, in their order on the form.
enum class TypePage { Default = 0, ProfiNet = 1, EtherCAT = 2, EtherNetIP = 3, Powerlink = 4 };

TypePage pageOf(uint16_t networkType);
// Modbus-TCP: the EtherNet/IP page with its Modbus block.
bool hasModbus(uint16_t networkType);
// False for the types whose module has no IPv4, name and mail settings.
bool hasIpSettings(uint16_t networkType);

// Offsets of the per-type fields (the area starts at 0x146 for every type).
namespace offset {
constexpr int kMdi1 = 0x146;
constexpr int kMdi2 = 0x147;
constexpr int kComSet1 = 0x148;
constexpr int kComSet2 = 0x149;
constexpr int kConnTimeout = 0x14A;      // u16, seconds
constexpr int kProcActiveTimeout = 0x14C; // u16, milliseconds
constexpr int kWordOrder = 0x14E;
constexpr int kStationName = 0x146;      // char[240]
constexpr int kDeviceId = 0x146;         // u16
constexpr int kNodeId = 0x146;           // u8
} // namespace offset

// A text field of the record: where it starts and how many bytes it has.
struct NameField
{
    int offset;
    int width;
};
constexpr NameField kHostName{Anybus_cfg::kHostNameOffset, 64};
constexpr NameField kDomainName{Anybus_cfg::kDomainNameOffset, 48};
constexpr NameField kSmtpServer{Anybus_cfg::kSmtpServerOffset, 64};
constexpr NameField kSmtpUser{Anybus_cfg::kSmtpUserOffset, 64};
constexpr NameField kSmtpPassword{Anybus_cfg::kSmtpPasswordOffset, 64};
constexpr NameField kStationName{offset::kStationName, 240};

// Dotted decimal text of the 4-byte address at `at` (first byte first).
QString ipv4Text(const Anybus_cfg &cfg, int at);
// Whether typed address text is an address: four decimal parts of 0 to 255
// (leading zeros are padding, "010" is 10), blanks around the text ignored.
// A part above 255, an empty or missing part, or anything else is not: a
// guess such as 255 or 0 would be an address the engineer never typed.
bool isIpv4Text(const QString &text);
// Stores typed address text; text that isIpv4Text refuses leaves the field
// unchanged and gives false.
bool setIpv4(Anybus_cfg &cfg, int at, const QString &text);

// The field's text: its bytes up to the first NUL (at most its width) read
// as UTF-8, the form in which the page stores them.
QString nameText(const Anybus_cfg &cfg, NameField field);
// Stores the text as UTF-8, NUL-filled (a text of exactly the field's width
// has no NUL). False, and the field unchanged, when the bytes do not fit.
// A text equal to the field's present text leaves its bytes as they are.
bool setName(Anybus_cfg &cfg, NameField field, const QString &text);

// The combo index a stored byte selects: -1 for a byte outside the list.
int comboIndex(uint8_t value, int itemCount);
// Stores a combo's index; no selection (-1) keeps the stored byte.
void setComboByte(Anybus_cfg &cfg, int at, int index);

uint16_t u16At(const Anybus_cfg &cfg, int at);
void setU16(Anybus_cfg &cfg, int at, uint16_t value);

// DHCP: any nonzero byte is on. Storing "on" keeps a nonzero byte as it is.
bool dhcpOn(const Anybus_cfg &cfg);
void setDhcp(Anybus_cfg &cfg, bool on);

} // namespace fieldbus
