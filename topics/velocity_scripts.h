// The velocity drawing scripts V1 … V8, drawn over the velocity base by the
// velocity topics and, in part, by the acceleration topics.
#pragma once

#include <string_view>

namespace pm::velocity_scripts {

using Script = std::u32string_view;

// V1: velocity of A.
inline constexpr Script kV1[] = {U":67>k6Aa:65.a14A"};

// V2: vector sum v_B = v_A + v_BA with the right-angle marks and its plan; D and
// E lie on the directions of v_B (perpendicular to B-Y) and v_BA (to A-B).
inline constexpr Script kV2[] = {
    U":46DBY~aAX:46EBA~aAX:66-b1ABYBDBE:65.b15ABY",
    U":61)b15DBY:61(b14DBY:61)b16EBA:61(b15EBA",
    U":67>k8Oj:66-b1jkO:69ob15O:68'm19BD:68'm19Ok:68'j19BE:68'j19jk",
    U":69ob14jk",
};

// V3: velocities of A, B, C.
inline constexpr Script kV3[] = {U"67>k6Aa:67>k6Bb:67>k6Cc:65.j15ABC"};

// V4: rotated velocities. The velocity of A turned onto the crank gives Â; the
// parallel to A-B through Â meets Y-B in Ô; Î completes the triangle similar
// to the coupler; the arcs mark the quarter turns.
inline constexpr Script kV4[] = {
    U":47Â=aAX:27ÊÂ|BA:41Ô=ÂÊ*YB:46ÎÔÂ~CBA",
    U":68'j18AB:68'j18BA:68'j18ÂÔ:68'j18ÔÂ:66-j1ABCA",
    U":66-j1BÔÎÔÂÎC:66-j1AÂ:61(j11aAÂÂ:61(j11bBÔÔ:61(j11cCÎÎ",
    U":61(m14aAÂ::61)m15aAÂ:61(m14bBÔ:61)m15bBÔ:61(m14cCÎ:61)m15cCÎ",
    U":65.j13ÂÔÎabc:65.j15AB:65.m15C",
};

// V5: pole rays through the velocity tips, with the equal angles at P.
inline constexpr Script kV5[] = {
    U":66-b1XAPBY:65.b15ABXY:69ob15P",
    U":66-j1aPbPcPC:61(n28aPA:61(n27bPB:61(n29cPC:65.j15P",
};

// V6: velocity plan from O.
inline constexpr Script kV6[] = {U":67>k6Oj:67>k6Ok:67>k6Ol:69oc14kjlO"};

// V7: velocity plan triangle.
inline constexpr Script kV7[] = {U":66-c1jklj:"};

// V8: Burmester: the tips a, b, c form a triangle similar to A, B, C.
inline constexpr Script kV8[] = {
    U":66-c1abca:61(n36CAB:61(n36cab:61(h36CBA:61(h36cba:66-j1ABCA",
    U":65.c14abc",
};

}  // namespace pm::velocity_scripts
