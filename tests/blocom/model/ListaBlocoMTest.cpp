#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "blocom/model/nFisRepositorioEFDModel_U.h"

namespace {

using TLista = TM410_810DetalRecIsentaList;

// Cada registro guarda a própria chave em NAT_REC, para conferir a ordem.
void Incluir(TLista& L, const std::string& chave) {
  auto reg = std::make_unique<TM410_810DetalRecIsenta>();
  reg->NAT_REC = chave;
  L.Add(chave, std::move(reg));
}

std::vector<std::string> Ordenadas(const TLista& L) {
  std::vector<std::string> chaves;
  for (const auto* reg : L.GetListaOrdenada()) chaves.push_back(reg->NAT_REC);
  return chaves;
}

TEST(TBlocoMList, VisaoOrdenadaComparaBytesDaChave) {
  struct Caso {
    const char* nome;
    std::vector<std::string> incluidas;
    std::vector<std::string> esperadas;
  };
  const std::vector<Caso> casos = {
      {"sequenciais", {"00010", "00002", "00001"}, {"00001", "00002", "00010"}},
      {"tamanhos diferentes", {"90000", "100000", "00009"}, {"00009", "100000", "90000"}},
      {"chaves compostas", {"5|A", "10|B", "5|"}, {"10|B", "5|", "5|A"}},
      {"maiúsculas antes", {"b", "a", "B"}, {"B", "a", "b"}},
      {"vazia", {}, {}},
  };
  for (const auto& c : casos) {
    TLista L;
    for (const auto& k : c.incluidas) Incluir(L, k);
    EXPECT_EQ(Ordenadas(L), c.esperadas) << c.nome;
    // A enumeração direta segue a ordem de inclusão.
    std::vector<std::string> inclusao;
    for (const auto& [chave, reg] : L) inclusao.push_back(chave);
    EXPECT_EQ(inclusao, c.incluidas) << c.nome;
  }
}

TEST(TBlocoMList, VisaoRefeitaDepoisDeIncluir) {
  TLista L;
  Incluir(L, "00005");
  Incluir(L, "00003");
  ASSERT_EQ(Ordenadas(L), (std::vector<std::string>{"00003", "00005"}));
  Incluir(L, "00001");
  EXPECT_EQ(Ordenadas(L), (std::vector<std::string>{"00001", "00003", "00005"}));
  L.First();
  ASSERT_NE(L.Atual(), nullptr);
  EXPECT_EQ(L.Atual()->NAT_REC, "00001");
}

TEST(TBlocoMList, Cursor) {
  struct Passo {
    int nexts;  // Next() depois de First()
    int indice;
    bool eol;
    const char* atual;  // nullptr = lista vazia
  };
  struct Caso {
    std::vector<std::string> chaves;
    std::vector<Passo> passos;
  };
  const std::vector<Caso> casos = {
      {{}, {{0, 0, true, nullptr}, {2, 0, true, nullptr}}},
      {{"00002", "00001", "00003"},
       {{0, 0, false, "00001"},
        {1, 1, false, "00002"},
        {2, 2, false, "00003"},
        {3, 3, true, "00003"},   // passou do fim: o último, não nada
        {7, 3, true, "00003"}}},  // Next não passa da contagem
  };
  for (const auto& c : casos) {
    TLista L;
    for (const auto& k : c.chaves) Incluir(L, k);
    for (const auto& p : c.passos) {
      L.First();
      for (int i = 0; i < p.nexts; ++i) L.Next();
      const std::string ctx = std::to_string(c.chaves.size()) + " chaves, " +
                              std::to_string(p.nexts) + " Next";
      EXPECT_EQ(L.Index(), p.indice) << ctx;
      EXPECT_EQ(L.Eol(), p.eol) << ctx;
      if (p.atual == nullptr) {
        EXPECT_EQ(L.Atual(), nullptr) << ctx;
      } else {
        ASSERT_NE(L.Atual(), nullptr) << ctx;
        EXPECT_EQ(L.Atual()->NAT_REC, p.atual) << ctx;
      }
    }
  }
}

TEST(TBlocoMList, ErrosNomeiamAChave) {
  TLista L;
  Incluir(L, "00007");
  try {
    L.Items("00008");
    ADD_FAILURE() << "esperava EItemNaoEncontrado";
  } catch (const EItemNaoEncontrado& e) {
    EXPECT_STREQ(e.what(), "Item não encontrado: 00008");
  }
  try {
    Incluir(L, "00007");
    ADD_FAILURE() << "esperava EChaveDuplicada";
  } catch (const EChaveDuplicada& e) {
    EXPECT_STREQ(e.what(), "Chave duplicada: 00007");
  }
  // A inclusão recusada não troca nem duplica o registro.
  EXPECT_EQ(L.Count(), 1);
  EXPECT_EQ(&L.Items("00007"), L.TryGetValue("00007"));
  EXPECT_EQ(L.TryGetValue("00008"), nullptr);
  EXPECT_TRUE(L.ContainsKey("00007"));
  EXPECT_FALSE(L.ContainsKey("7"));
  EXPECT_THROW(L.Add("00009", nullptr), EPisco);
}

}  // namespace
