#include "devsettings/ParameterDefinition.h"

#include <iterator>

#include "devsettings/RegisterBinding.h"
#include "devsettings/SourceCode.h"
#include "language/LanguageKeys.h"

namespace {

constexpr double Ip(unsigned a, unsigned b, unsigned c, unsigned d) {
    return double(a | (b << 8) | (c << 16) | (d << 24));
}

#define LIST(key, addr, def) \
    {LNG_SETDEV_##key, EK_LIST, RT_UINT16, addr, def, 0, 0, 0, LNG_SETDEV_##key##_LIST, LNG_SETDEV_##key##_INFO, nullptr}
#define DBL(key, addr, type, def, lo, hi, step) \
    {LNG_SETDEV_##key, EK_DOUBLE, type, addr, def, lo, hi, step, 0, LNG_SETDEV_##key##_INFO, nullptr}
#define INT(key, addr, def, lo, hi) \
    {LNG_SETDEV_##key, EK_INT, RT_UINT16, addr, def, lo, hi, 0, 0, LNG_SETDEV_##key##_INFO, nullptr}
#define TIME(key, addr, type, def, lo, hi, set) \
    {LNG_SETDEV_##key, EK_TIMELEN, type, addr, def, lo, hi, 0, set, LNG_SETDEV_##key##_INFO, nullptr}
#define SRC(key, addr) \
    {LNG_SETDEV_##key, EK_SOURCE, RT_UINT32, addr, double(kNoSource), 0, 0, 0, 0, LNG_SETDEV_##key##_INFO, nullptr}
#define IP(key, addr, def) {LNG_SETDEV_##key, EK_IP, RT_UINT32, addr, def, 0, 0, 0, 0, LNG_SETDEV_##key##_INFO, nullptr}
#define PASW(key, addr, type, text) \
    {LNG_SETDEV_##key, EK_PASSWASCII, type, addr, 0, 0, 0, 0, 0, LNG_SETDEV_##key##_INFO, text}
#define FSIZE(key, addr, bytes) \
    {LNG_SETDEV_##key, EK_FSIZE, RT_UINT32, addr, bytes, 0, 0, 0, 0, LNG_SETDEV_##key##_INFO, nullptr}
// Thresholds take their range from the event source; until one is chosen they hold 0.
#define EVENT(n)                                                   \
    SRC(G3_EVT##n##SRC, 2062 + 2 * (n - 1)),                       \
    LIST(G3_EVT##n##UP, 2021 + n, 0),                              \
    DBL(G3_EVT##n##UPVAL, 2032 + 2 * (n - 1), RT_INT32, 0, 0, 0, 1), \
    TIME(G3_EVT##n##UPTIM, 2051 + n, RT_UINT16, 10, 1, 60000, 0),  \
    LIST(G3_EVT##n##DW, 2026 + n, 0),                              \
    DBL(G3_EVT##n##DWVAL, 2042 + 2 * (n - 1), RT_INT32, 0, 0, 0, 1), \
    TIME(G3_EVT##n##DWTIM, 2056 + n, RT_UINT16, 10, 1, 60000, 0)

constexpr ParameterDefinition kGroup1[] = {
    DBL(G1_TIMCORR, 2000, RT_INT16, 0, -99.9, 99.9, 0.1),
    LIST(G1_DISP, 2072, 2),
    LIST(G1_PASW, 2122, 0),
    PASW(G1_PASWV, 2123, RT_TEXT6, kDefaultDevicePassword),
};

constexpr ParameterDefinition kGroup2[] = {
    LIST(G2_WRTYPE, 2117, 0),
    TIME(G2_WRPERIOD, 2113, RT_UINT32, 1000, 1, 3600000, 0),
    FSIZE(G2_FILELIM, 2115, 16777216),
    SRC(G2_SRC1, 2073), SRC(G2_SRC2, 2075), SRC(G2_SRC3, 2077), SRC(G2_SRC4, 2079), SRC(G2_SRC5, 2081),
    SRC(G2_SRC6, 2083), SRC(G2_SRC7, 2085), SRC(G2_SRC8, 2087), SRC(G2_SRC9, 2089), SRC(G2_SRC10, 2091),
    SRC(G2_SRC11, 2093), SRC(G2_SRC12, 2095), SRC(G2_SRC13, 2097), SRC(G2_SRC14, 2099), SRC(G2_SRC15, 2101),
    SRC(G2_SRC16, 2103), SRC(G2_SRC17, 2105), SRC(G2_SRC18, 2107), SRC(G2_SRC19, 2109), SRC(G2_SRC20, 2111),
};

constexpr ParameterDefinition kGroup3[] = {
    LIST(G3_WREVT, 2118, 0),
    INT(G3_WRPT1, 2119, 100, 0, 1480),
    INT(G3_WRPT2, 2120, 100, 0, 1480),
    TIME(G3_WRPERIOD, 2121, RT_UINT16, 1, 1, 1000, 0),
    EVENT(1), EVENT(2), EVENT(3), EVENT(4), EVENT(5),
};

constexpr ParameterDefinition kGroup4[] = {
    IP(G4_IP, 2135, Ip(192, 168, 0, 2)),
    IP(G4_MASK, 2137, Ip(255, 255, 255, 0)),
    IP(G4_GTW, 2139, Ip(192, 168, 0, 1)),
    IP(G4_DNS1, 2141, Ip(192, 168, 0, 1)),
    IP(G4_DNS2, 2143, Ip(8, 8, 8, 8)),
    LIST(G4_DHCP, 2134, 0),
    LIST(G4_MBUSSERV, 2145, 1),
    INT(G4_MBUSID, 2205, 0, 0, 255),
    INT(G4_MBUSPORT, 2146, 502, 1, 65535),
    TIME(G4_MBUSTMOUT, 2147, RT_UINT16, 60, 10, 3600, 1),
    PASW(G4_MBUSPASW, 2148, RT_TEXT13, kDefaultNetworkPassword),
    LIST(G4_HTTPSERV, 2164, 1),
    INT(G4_HTTPPORT, 2165, 80, 1, 65535),
    TIME(G4_HTTPTIMOUT, 2166, RT_UINT16, 300, 60, 3600, 1),
    PASW(G4_HTTPPASW, 2167, RT_TEXT13, kDefaultNetworkPassword),
    LIST(G4_FTPSERV, 2183, 0),
    INT(G4_FTPPORT, 2184, 21, 1, 65535),
    TIME(G4_FTPTIMOUT, 2185, RT_UINT16, 300, 60, 3600, 1),
    PASW(G4_FTPPASW, 2186, RT_TEXT13, kDefaultNetworkPassword),
    LIST(G4_OVSCLIENT, 2202, 0),
    INT(G4_OVSPORT, 2203, 20502, 1, 65535),
    TIME(G4_OVSTIMOUT, 2204, RT_UINT16, 90, 60, 3600, 1),
};

constexpr ParameterDefinition kGroup5[] = {
    LIST(G5_MODEN, 2129, 0), LIST(G5_MOD1, 2130, 0), LIST(G5_MOD2, 2131, 0),
    LIST(G5_MOD3, 2132, 0),  LIST(G5_MOD4, 2133, 0),
};

constexpr ParameterDefinition kGroup6[] = {DBL(G6_CH1_SENS, 2001, RT_UINT16, 1, 1, 5000, 0.1)};
constexpr ParameterDefinition kGroup7[] = {DBL(G7_CH2_SENS, 2002, RT_UINT16, 1, 1, 5000, 0.1)};
constexpr ParameterDefinition kGroup8[] = {DBL(G8_CH3_SENS, 2003, RT_UINT16, 1, 1, 5000, 0.1)};
constexpr ParameterDefinition kGroup9[] = {INT(G9_CH4_SENS, 2004, 5, 5, 2000)};
constexpr ParameterDefinition kGroup10[] = {INT(G10_CH5_SENS, 2005, 5, 5, 2000)};
constexpr ParameterDefinition kGroup11[] = {INT(G11_CH6_SENS, 2006, 5, 5, 2000)};
constexpr ParameterDefinition kGroup12[] = {INT(G12_CH7_SENS, 2007, 5, 5, 2000)};
constexpr ParameterDefinition kGroup13[] = {
    DBL(G13_CH8_CORR, 2008, RT_INT16, 0, -9.9, 9.9, 0.1),
    LIST(G13_CH8_SENS, 2010, 1),
    DBL(G13_CH8_FILT, 2012, RT_INT16, 1.5, 0, 10, 0.1),
};
constexpr ParameterDefinition kGroup14[] = {
    DBL(G14_CH9_CORR, 2009, RT_INT16, 0, -9.9, 9.9, 0.1),
    LIST(G14_CH9_SENS, 2011, 1),
    DBL(G14_CH9_FILT, 2013, RT_INT16, 1.5, 0, 10, 0.1),
};
constexpr ParameterDefinition kGroup15[] = {
    LIST(G15_CH10_SENS, 2014, 0),
    DBL(G15_CH10_FRMI, 2215, RT_INT16, 0, 0, 10, 0.01),
    DBL(G15_CH10_FRMA, 2214, RT_INT16, 10, 0, 10, 0.01),
    DBL(G15_CH10_TOMI, 2217, RT_INT16, 0, -999.9, 999.9, 0.1),
    DBL(G15_CH10_TOMA, 2216, RT_INT16, 10, -999.9, 999.9, 0.1),
    DBL(G15_CH10_FILT, 2015, RT_INT16, 1.5, 0, 10, 0.1),
};
constexpr ParameterDefinition kGroup16[] = {
    LIST(G16_CH11_SENS, 2016, 0),
    DBL(G15_CH11_FRMI, 2219, RT_INT16, 0, 0, 20, 0.01),
    DBL(G15_CH11_FRMA, 2218, RT_INT16, 20, 0, 20, 0.01),
    DBL(G15_CH11_TOMI, 2221, RT_INT16, 0, -999.9, 999.9, 0.1),
    DBL(G15_CH11_TOMA, 2220, RT_INT16, 20, -999.9, 999.9, 0.1),
    DBL(G16_CH11_FILT, 2017, RT_INT16, 1.5, 0, 10, 0.1),
};
constexpr ParameterDefinition kGroup17[] = {LIST(G17_CH12_SENS, 2018, 0), LIST(G17_CH12_SLOP, 2206, 1)};
constexpr ParameterDefinition kGroup18[] = {LIST(G18_CH13_SENS, 2019, 0), LIST(G18_CH13_SLOP, 2207, 1)};
constexpr ParameterDefinition kGroup19[] = {LIST(G19_CH14_SENS, 2020, 0), LIST(G19_CH14_SLOP, 2208, 1)};
constexpr ParameterDefinition kGroup20[] = {LIST(G20_CH15_SENS, 2021, 0), LIST(G20_CH15_SLOP, 2209, 1)};

#undef LIST
#undef DBL
#undef INT
#undef TIME
#undef SRC
#undef IP
#undef PASW
#undef FSIZE
#undef EVENT

constexpr ParameterGroupDefinition kGroups[] = {
    {LNG_SETDEV_G1_TITLE, kGroup1},         {LNG_SETDEV_G2_TITLE, kGroup2},
    {LNG_SETDEV_G3_TITLE, kGroup3},         {LNG_SETDEV_G4_TITLE, kGroup4},
    {LNG_SETDEV_G5_TITLE, kGroup5},         {LNG_SETDEV_G6_CH1_TITLE, kGroup6},
    {LNG_SETDEV_G7_CH2_TITLE, kGroup7},     {LNG_SETDEV_G8_CH3_TITLE, kGroup8},
    {LNG_SETDEV_G9_CH4_TITLE, kGroup9},     {LNG_SETDEV_G10_CH5_TITLE, kGroup10},
    {LNG_SETDEV_G11_CH6_TITLE, kGroup11},   {LNG_SETDEV_G12_CH7_TITLE, kGroup12},
    {LNG_SETDEV_G13_CH8_TITLE, kGroup13},   {LNG_SETDEV_G14_CH9_TITLE, kGroup14},
    {LNG_SETDEV_G15_CH10_TITLE, kGroup15},  {LNG_SETDEV_G16_CH11_TITLE, kGroup16},
    {LNG_SETDEV_G17_CH12_TITLE, kGroup17},  {LNG_SETDEV_G18_CH13_TITLE, kGroup18},
    {LNG_SETDEV_G19_CH14_TITLE, kGroup19},  {LNG_SETDEV_G20_CH15_TITLE, kGroup20},
};

}  // namespace

std::span<const ParameterGroupDefinition> ParameterGroupDefinitions() { return kGroups; }
