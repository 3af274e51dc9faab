#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "blocom/model/nFisRepositorioEFDModel_U.h"

namespace {

// Lista que passa do tamanho procurado em sequência para o indexado: as chaves incluídas antes
// do índice continuam achadas, a duplicata continua recusada e a visão ordenada segue os bytes.
TEST(TBlocoMList, ListaGrandeAchaRecusaEOrdenaComoAPequena) {
  TM410_810DetalRecIsentaList L;
  std::vector<std::string> incluidas;
  // Ordem embaralhada e tamanhos diferentes, para a ordem de inclusão não coincidir com a das chaves.
  for (int i = 0; i < 60; ++i) incluidas.push_back(std::to_string((i * 37) % 60 * 11) + "|" + (i % 2 ? "b" : "A"));

  for (size_t n = 0; n < incluidas.size(); ++n) {
    auto reg = std::make_unique<TM410_810DetalRecIsenta>();
    reg->NAT_REC = incluidas[n];
    L.Add(incluidas[n], std::move(reg));
    for (size_t i = 0; i <= n; ++i) {
      const auto* achado = L.TryGetValue(incluidas[i]);
      ASSERT_NE(achado, nullptr) << incluidas[i] << " com " << n + 1 << " itens";
      ASSERT_EQ(achado->NAT_REC, incluidas[i]);
    }
    EXPECT_THROW(L.Add(incluidas[n / 2], std::make_unique<TM410_810DetalRecIsenta>()), EChaveDuplicada) << n + 1;
    EXPECT_EQ(L.TryGetValue(incluidas[n] + "x"), nullptr) << n + 1;

    std::vector<std::string> esperadas(incluidas.begin(), incluidas.begin() + static_cast<long>(n) + 1);
    std::sort(esperadas.begin(), esperadas.end());
    std::vector<std::string> ordenadas;
    for (const auto* reg : L.GetListaOrdenada()) ordenadas.push_back(reg->NAT_REC);
    ASSERT_EQ(ordenadas, esperadas) << n + 1;
  }
  EXPECT_EQ(L.Count(), 60);
  EXPECT_THROW(L.Items("999|A"), EItemNaoEncontrado);
  std::vector<std::string> inclusao;
  for (const auto& [chave, reg] : L) inclusao.push_back(chave);
  EXPECT_EQ(inclusao, incluidas);
}

}  // namespace
