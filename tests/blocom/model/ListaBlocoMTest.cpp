#include <gtest/gtest.h>

#include <algorithm>
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

// A cada inclusão, da lista pequena (procura em sequência) à grande (indexada): as chaves
// incluídas continuam achadas, a duplicata é recusada, a visão ordenada é refeita e segue os
// bytes da chave ("110|a" antes de "11|a", "B" antes de "a") e a enumeração segue a inclusão.
TEST(TBlocoMList, AchaRecusaEOrdenaPequenaOuGrande) {
  TLista L;
  std::vector<std::string> incluidas;
  for (int i = 0; i < 60; ++i) incluidas.push_back(std::to_string((i * 37) % 30 * 11) + "|" + (i < 30 ? "a" : "B"));

  for (size_t n = 0; n < incluidas.size(); ++n) {
    Incluir(L, incluidas[n]);
    for (size_t i = 0; i <= n; ++i) {
      const auto* achado = L.TryGetValue(incluidas[i]);
      ASSERT_NE(achado, nullptr) << incluidas[i] << " com " << n + 1 << " itens";
      ASSERT_EQ(achado->NAT_REC, incluidas[i]);
    }
    EXPECT_THROW(Incluir(L, incluidas[n / 2]), EChaveDuplicada) << n + 1;
    EXPECT_EQ(L.TryGetValue(incluidas[n] + "x"), nullptr) << n + 1;

    std::vector<std::string> esperadas(incluidas.begin(), incluidas.begin() + static_cast<long>(n) + 1);
    std::sort(esperadas.begin(), esperadas.end());
    std::vector<std::string> ordenadas;
    for (const auto* reg : L.GetListaOrdenada()) ordenadas.push_back(reg->NAT_REC);
    ASSERT_EQ(ordenadas, esperadas) << n + 1;
  }
  EXPECT_EQ(L.Count(), 60);
  std::vector<std::string> inclusao;
  for (const auto& [chave, reg] : L) inclusao.push_back(chave);
  EXPECT_EQ(inclusao, incluidas);
}

// Cursor sobre a visão ordenada, e os erros que nomeiam a chave.
TEST(TBlocoMList, CursorEErros) {
  TLista L;
  L.First();
  L.Next();
  EXPECT_TRUE(L.Eol());
  EXPECT_EQ(L.Index(), 0);
  EXPECT_EQ(L.Atual(), nullptr);
  Incluir(L, "00010");
  Incluir(L, "00002");
  L.First();
  ASSERT_NE(L.Atual(), nullptr);
  EXPECT_EQ(L.Atual()->NAT_REC, "00002");
  Incluir(L, "00001");  // a visão é refeita: o cursor já vê o novo primeiro
  EXPECT_EQ(L.Atual()->NAT_REC, "00001");
  std::string visitadas;
  for (L.First(); !L.Eol(); L.Next()) visitadas += L.Atual()->NAT_REC + " ";
  EXPECT_EQ(visitadas, "00001 00002 00010 ");
  for (int i = 0; i < 5; ++i) L.Next();
  EXPECT_EQ(L.Index(), 3);                  // Next não passa da contagem
  EXPECT_EQ(L.Atual()->NAT_REC, "00010");  // depois do fim, o último

  try {
    L.Items("00008");
    ADD_FAILURE() << "esperava EItemNaoEncontrado";
  } catch (const EItemNaoEncontrado& e) {
    EXPECT_STREQ(e.what(), "Item não encontrado: 00008");
  }
  try {
    Incluir(L, "00002");
    ADD_FAILURE() << "esperava EChaveDuplicada";
  } catch (const EChaveDuplicada& e) {
    EXPECT_STREQ(e.what(), "Chave duplicada: 00002");
  }
  EXPECT_EQ(L.Count(), 3);  // a inclusão recusada não entra
  EXPECT_THROW(L.Add("00009", nullptr), EPisco);
}

}  // namespace
