#pragma once
// A register write routed to the block that owns the register. The chip's
// register table names the block on each line (`stored.then(Block::Timer)`),
// and the chip lists each block's handler once:
//
//   using Routes = periphery::WriteRoutes<periphery::Route<Block::Timer, &Chip::writeTimer>, ...>;
//   Routes::write(*this, kRegisterMap, n, v, old);
//
// The handlers are template arguments, so the dispatch is a compare chain the
// compiler folds like a switch: no indirect call. A line that names no block
// (`.then()`) reaches no handler here.
#include "register_table.h"

namespace periphery {

template <auto Block, auto Handler>
struct Route {};

template <class... Routes>
struct WriteRoutes;

template <auto... Blocks, auto... Handlers>
struct WriteRoutes<Route<Blocks, Handlers>...> {
  // Runs the handler of the block that owns register n (nothing for a
  // register of no listed block).
  template <class Chip>
  [[gnu::always_inline]] static void write(Chip& chip, const RegisterMap& map, int n, int value, int old) {
    const int block = map.writes[n].block();
    (void)((block == WriteRule::blockCode(Blocks) && ((chip.*Handlers)(n, value, old), true)) || ...);
  }
};

// Whether block b owns register n in `map`.
template <class Block>
constexpr bool ownedBy(const RegisterMap& map, int n, Block b) {
  return map.writes[n].block() == WriteRule::blockCode(b);
}

}  // namespace periphery
