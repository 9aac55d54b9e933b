// The state record: the fields of the main window that outlive a command.
// Every numeric field reads 0 until set; flags are 0/1 and are toggled by
// f := (f + 1) mod 2. The scratch vector X, Y and the status kks live in the
// engine's scratch state (script/scratch.h) and belong to the record as well.
//
// PLANIMOVE_NUMERIC_FIELDS lists every numeric field once; it generates the
// members and the name table used by the batch renderer and the tests.
#pragma once

#include <string>
#include <string_view>

#include "draw/colour.h"

namespace pm {

// clang-format off
#define PLANIMOVE_NUMERIC_FIELDS(F) \
  /* mechanism type, topic group, topic, text page and the read-only mn3, mn6 */ \
  F(mn0) F(mn1) F(mn2) F(mn3) F(mn5) F(mn6) F(dq) \
  /* stepping request, drive angle, zoom, symbol scale, 2^(1/12), grid */ \
  F(qgw) F(wxx) F(qzz) F(qbr) F(qtn) F(qrtt) F(rtt) F(qss) \
  /* assembly sign factors and the drive sign */ \
  F(qcc) F(qff) F(qhh) F(qnn) F(qpp) F(qzw) \
  /* display flags */ \
  F(qst) F(qer) F(qxy) F(qtx) F(qsc) F(qsd) F(qse) F(qßß) F(qsr) F(qxx) F(qgx) \
  /* palette intensities and their start copies */ \
  F(rr1) F(gg1) F(bb1) F(rr2) F(gg2) F(bb2) \
  /* length offsets a … z */ \
  F(qa) F(qb) F(qc) F(qd) F(qe) F(qf) F(qg) F(qh) F(qi) F(qj) F(qk) F(ql) F(qm) \
  F(qn) F(qo) F(qp) F(qq) F(qr) F(qs) F(qt) F(qu) F(qv) F(qw) F(qx) F(qy) F(qz) \
  /* number offsets a … z */ \
  F(sa) F(sb) F(sc) F(sd) F(se) F(sf) F(sg) F(sh) F(si) F(sj) F(sl) F(sm) \
  F(sn) F(so) F(sp) F(sq) F(sr) F(ss) F(st) F(su) F(sv) F(sw) F(sx) F(sy) F(sz) \
  /* further fields of start-up, the synthesis and the cognate construction */ \
  F(qnx) F(qrof) F(qgl) F(qgd) F(qww) \
  F(bxx) F(bxy) F(bxa) F(bxb) F(byx) F(byy) F(bya) F(byb) F(bz1) F(bz2)
// clang-format on

struct StateRecord {
#define PLANIMOVE_DECLARE_FIELD(name) double name = 0;
  PLANIMOVE_NUMERIC_FIELDS(PLANIMOVE_DECLARE_FIELD)
#undef PLANIMOVE_DECLARE_FIELD

  Rgb cb;  // background colour
  Rgb cf;  // text colour of the data listing

  std::string ff;  // name of the picture file last shown
  std::string gg;  // recorded length string of the synthesis
  std::string hg;  // recorded number string of the synthesis
  std::string gx;  // rest of the length string while it is parsed
  std::string hs;  // rest of the number string while it is parsed

  // Calls f(name, value) for every numeric field, in declaration order.
  template <typename F>
  void forEachNumeric(F&& f) {
#define PLANIMOVE_VISIT_FIELD(name) f(std::string_view(#name), name);
    PLANIMOVE_NUMERIC_FIELDS(PLANIMOVE_VISIT_FIELD)
#undef PLANIMOVE_VISIT_FIELD
  }
  template <typename F>
  void forEachNumeric(F&& f) const {
    const_cast<StateRecord*>(this)->forEachNumeric(
        [&](std::string_view n, double& v) { f(n, static_cast<const double&>(v)); });
  }

  // Toggles a 0/1 flag.
  static void toggle(double& flag) { flag = static_cast<double>((static_cast<long>(flag) + 1) % 2); }
};

}  // namespace pm
