// Execuções completas do Bloco M (totais já apurados) sobre o banco de demonstração. Os valores
// de cada registro, empresa a empresa, estão nos cenários de tests/cenarios/blocom.
#include <gtest/gtest.h>

#include <set>

#include "blocom/control/nFisRepositorioEFDBlocoMFabrica_U.h"
#include "db/Demo.h"
#include "fixtures/Bancos.h"
#include "fixtures/ConsistenciaBlocoM.h"
#include "output/EscritorBlocoM.h"

namespace {
class BlocoMEFD : public TBancoDemoTeste {
 protected:
  std::unique_ptr<TMapaAberturaBloco> Carregar(int AEmpresa, std::unique_ptr<TnFisRepositorioEFDBlocoM>& ARepo) {
    TConfigBlocoM c;
    c.CodigoEmpresa = AEmpresa;
    CompetenciaParaPeriodo("2024-01", c.DataInicial, c.DataFinal);
    ARepo = TnFisRepositorioEFDBlocoMFabrica::CriarRepositorio(AEmpresa, 1, c.DataInicial, false);
    return ARepo->CarregarDadosBlocoM(c);
  }
};

}  // namespace

PISCO_INSTANCIAR_BANCOS(BlocoMEFD);

// Contas do leiaute entre os registros de cada empresa; o total é do repositório: não muda nem
// deixa de existir quando o chamador libera o mapa que recebeu.
TEST_P(BlocoMEFD, DemonstracaoPassaNoLeiauteEOTotalEhDoRepositorio) {
  std::set<std::string> vistos;
  for (int empresa : {1, 3, 4}) {
    SCOPED_TRACE("empresa " + std::to_string(empresa));
    std::unique_ptr<TnFisRepositorioEFDBlocoM> repo;
    auto mapa = Carregar(empresa, repo);
    const auto linhas = MontarLinhasBlocoM(*repo->TotalizarBlocoM());
    ASSERT_GT(linhas.size(), 10u);
    for (const auto& e : consistencia::ConferirBlocoM(linhas)) ADD_FAILURE() << e;
    mapa.reset();
    EXPECT_EQ(MontarLinhasBlocoM(*repo->TotalizarBlocoM()), linhas);
    for (const auto& l : linhas) vistos.insert(l.substr(0, 6));
  }
  // A empresa 4 (cumulativa com controle de diferimento) leva a demonstração ao M230 e ao M300
  // dos totais; os valores estão em diferimento-ja-apurado.cenario.
  EXPECT_TRUE(vistos.count("|M230|") && vistos.count("|M300|"));
}
