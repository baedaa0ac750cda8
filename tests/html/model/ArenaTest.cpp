#include "ModelTestSupport.h"

#include "html/model/Arena.h"
#include "html/model/ParagraphSpace.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace {

struct PieceCase {
  const char* Name;
  std::vector<std::pair<size_t, size_t>> Pieces; // bytes, alignment
  size_t Chunks;                                 // chunks the arena holds afterwards
};

class ArenaPieces : public ::testing::TestWithParam<PieceCase> {};

// Every piece is aligned, usable to its last byte and apart from every other piece; the chunks
// grow as documented.
TEST_P(ArenaPieces, AreAlignedAndApart)
{
  TArena arena;
  std::vector<std::pair<char*, size_t>> got;
  size_t asked = 0;
  for (auto [bytes, align] : GetParam().Pieces) {
    auto* p = static_cast<char*>(arena.Allocate(bytes, align));
    ASSERT_NE(p, nullptr) << GetParam().Name;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % align, 0u) << GetParam().Name;
    std::memset(p, 0xA5, bytes);
    got.emplace_back(p, bytes);
    asked += bytes;
  }
  for (size_t i = 0; i < got.size(); ++i)
    for (size_t j = i + 1; j < got.size(); ++j) {
      const bool apart = got[i].first + got[i].second <= got[j].first ||
                         got[j].first + got[j].second <= got[i].first;
      EXPECT_TRUE(apart) << GetParam().Name << ": pieces " << i << " and " << j;
    }
  EXPECT_EQ(arena.Used(), asked) << GetParam().Name;
  EXPECT_EQ(arena.ChunkCount(), GetParam().Chunks) << GetParam().Name;
  EXPECT_GE(arena.Reserved(), asked) << GetParam().Name;
}

std::vector<std::pair<size_t, size_t>> Repeat(size_t n, size_t bytes, size_t align)
{
  return std::vector<std::pair<size_t, size_t>>(n, {bytes, align});
}

std::vector<std::pair<size_t, size_t>> Then(std::vector<std::pair<size_t, size_t>> a,
                                            const std::vector<std::pair<size_t, size_t>>& b)
{
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

constexpr size_t First = TArena::FirstChunk;
constexpr size_t Largest = TArena::LargestChunk;

INSTANTIATE_TEST_SUITE_P(
    Cases, ArenaPieces,
    ::testing::Values(
        PieceCase{"nothing asked holds no chunk", {}, 0},
        PieceCase{"mixed alignments in one chunk", {{1, 1}, {8, 8}, {3, 2}, {24, 16}, {0, 4}}, 1},
        PieceCase{"a full first chunk opens a second twice its size", Repeat(First / 64 + 1, 64, 8),
                  2},
        PieceCase{"chunks double up to the largest",
                  Repeat((First + 2 * First + 4 * First) / 256 + 1, 256, 16), 4},
        PieceCase{"a large piece gets a chunk of its own", {{Largest / 4 + 1, 8}}, 1},
        PieceCase{"small pieces after a large one still share the open chunk",
                  Then({{16, 8}, {Largest, 16}}, Repeat(4, 16, 8)), 2},
        PieceCase{"a piece as large as the largest chunk", {{Largest * 2 + 5, 16}}, 1}));

TEST(Arena, ReusesOnlyTheLastPieceGivenBack)
{
  TArena arena;
  void* a = arena.Allocate(40, 8);
  void* b = arena.Allocate(40, 8);
  arena.Deallocate(a, 40); // not the last: stays taken
  void* c = arena.Allocate(40, 8);
  EXPECT_NE(c, a);
  arena.Deallocate(c, 40); // the last: handed out again
  EXPECT_EQ(arena.Allocate(40, 8), c);
  EXPECT_NE(c, b);
  EXPECT_EQ(arena.Used(), 80u);
}

TEST(Arena, ReleaseFreesEveryChunkAndStartsAgain)
{
  TArena arena;
  for (int i = 0; i < 1000; ++i)
    arena.Allocate(200, 8);
  arena.Allocate(Largest, 16);
  ASSERT_GT(arena.ChunkCount(), 1u);
  EXPECT_GT(arena.Mapped(), 0u);
  arena.Release();
  EXPECT_EQ(arena.ChunkCount(), 0u);
  EXPECT_EQ(arena.Reserved(), 0u);
  EXPECT_EQ(arena.Used(), 0u);
  std::memset(arena.Allocate(100, 8), 1, 100);
  EXPECT_EQ(arena.Reserved(), First);
}

using TArenaInts = std::vector<int, TArenaAllocator<int>>;

// Where a container's storage lives after each way of making or changing it.
TEST(ArenaAllocator, CopiesGoToTheHeapMovesAndSwapsKeepTheirStorage)
{
  TArena arena;
  TArenaInts inArena({1, 2, 3}, TArenaAllocator<int>(&arena));
  EXPECT_EQ(arena.Used(), 3 * sizeof(int));
  TArenaInts onHeap{4, 5};
  EXPECT_EQ(arena.Used(), 3 * sizeof(int));

  const TArenaInts copy(inArena);
  EXPECT_EQ(copy.get_allocator().Arena(), nullptr);
  EXPECT_EQ(copy, inArena);

  TArenaInts moved(std::move(inArena));
  EXPECT_EQ(moved.get_allocator().Arena(), &arena);
  TArenaInts assigned;
  assigned = std::move(moved);
  EXPECT_EQ(assigned.get_allocator().Arena(), &arena);
  EXPECT_EQ(assigned, (TArenaInts{1, 2, 3}));

  assigned.swap(onHeap);
  EXPECT_EQ(assigned.get_allocator().Arena(), nullptr);
  EXPECT_EQ(onHeap.get_allocator().Arena(), &arena);
  EXPECT_EQ(onHeap, (TArenaInts{1, 2, 3}));
  EXPECT_EQ(arena.Used(), 3 * sizeof(int));
}

// A finished section keeps its text, positions and fonts in its document's arena; a print
// copy of it is on the heap, and the arena goes when the page is cleared.
TEST_F(ModelTest, FinishedSectionsLiveInTheDocumentsArena)
{
  TSection* s = AddText("arena text long enough to need a buffer of its own");
  s->FontChange(TFontRef(Font(14)));
  EXPECT_EQ(s->Chars.get_allocator().Arena(), &Doc.Arena);
  EXPECT_EQ(s->SourceRuns.get_allocator().Arena(), &Doc.Arena);
  EXPECT_GT(Doc.Arena.Used(), s->Chars.size());

  std::unique_ptr<TSectionBase> copy = s->CloneForPrint(&Doc);
  auto* printCopy = static_cast<TSection*>(copy.get());
  EXPECT_EQ(printCopy->Chars.get_allocator().Arena(), nullptr);
  EXPECT_EQ(printCopy->Chars, s->Chars);

  // The next section builds in a heap buffer the last one left behind, not in arena storage.
  auto next = MakeSection();
  EXPECT_EQ(next->Chars.get_allocator().Arena(), nullptr);
  next.reset();
  copy.reset();

  List.Clear();
  EXPECT_EQ(Doc.Arena.ChunkCount(), 0u);
}

TEST_F(ModelTest, ItemsMadeInTheArenaAreDestroyedWithoutFreeingTheirMemory)
{
  auto inArena = TSectionBase::Make<TSection>(&Doc.Arena, &Doc, paLeft, TUrlTarget(), Font(), 0);
  auto onHeap = TSectionBase::Make<TParagraphSpace>(nullptr, &Doc);
  // Under the address checker items come from the heap, each checked on its own.
  const size_t item = TArena::Checked ? 0 : sizeof(TSection);
  EXPECT_EQ(Doc.Arena.Used(), item);
  Append(*inArena, "text");
  List.Add(std::move(inArena));
  List.Add(std::move(onHeap));
  ASSERT_EQ(List.Count(), 2);
  EXPECT_GT(Doc.Arena.Used(), item);
  // Destroying the section gives its finished buffers back; the item's own memory stays.
  List.Delete(0);
  EXPECT_EQ(List.Count(), 1);
  EXPECT_EQ(Doc.Arena.Used(), item);
}

} // namespace
