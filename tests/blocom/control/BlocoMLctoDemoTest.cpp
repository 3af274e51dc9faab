// Bloco M pelos lançamentos sobre a demonstração inteira: cada empresa em cada modo roda e passa
// no formato e nas contas do leiaute; avisos da execução e apuração sem contribuição.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "base/Periodo.h"
#include "db/Demo.h"
#include "fixtures/Bancos.h"
#include "fixtures/LeiauteBlocoM.h"
#include "output/ExecucaoBlocoM.h"

namespace {
// Regras do leiaute que a demonstração fura pelos lançamentos, por empresa, cada uma com a causa.
// Não são defeitos do gerador: vêm das regras do cálculo sobre os dados da demonstração. Qualquer
// outra falha, ou uma destas que deixe de acontecer, reprova o teste.
const std::map<std::string, std::string> kDiferencasConhecidas = {
    // a soma dos tipos de apuração 0, 62 e 63: o M210 com M211 (exclusões de cooperativa do tipo 0)
    // fica com a base do M211, sem a dos outros tipos, enquanto os créditos descontados somam os três
    {"empresa 3|M200.VL_TOT_CONT_NC_DEV negativo", "soma de tipos com M211"},
    {"empresa 3|M200.VL_CONT_NC_REC negativo", "soma de tipos com M211"},
    {"empresa 3|M600.VL_TOT_CONT_NC_DEV negativo", "soma de tipos com M211"},
    {"empresa 3|M600.VL_CONT_NC_REC negativo", "soma de tipos com M211"},
    // cada tipo de apuração arredonda o seu M205; a soma difere do M200 somado em um centavo
    {"empresa 3|M200 M205 campo 12", "arredondamento por tipo"},
    {"empresa 3|M600 M205 campo 12", "arredondamento por tipo"},
    {"empresa 3|M600 M205 campo 08", "arredondamento por tipo"},
};

class BlocoMLctoDemo : public TBancoDemoTeste {
 protected:
  static TConfigBlocoM Config(int AEmpresa) {
    TConfigBlocoM c;
    c.CodigoEmpresa = AEmpresa;
    CompetenciaParaPeriodo("2024-01", c.DataInicial, c.DataFinal);
    return c;
  }
  static std::string Rodar(const TConfigBlocoM& AConfig, const char* AFormato = "sped") {
    std::ostringstream out;
    ExecutarBlocoM(AConfig, TSaidaBlocoM{AFormato, "", true, false}, out);
    return out.str();
  }
};
}  // namespace

PISCO_INSTANCIAR_BANCOS(BlocoMLctoDemo);

// Casos tirados do cadastro: cada empresa inteira, cada estabelecimento comum no modo filial e
// cada SCP no modo scp. Perfis novos da demonstração entram sozinhos.
TEST_P(BlocoMLctoDemo, TodasAsEmpresasEModosPassamNoLeiaute) {
  std::vector<std::pair<std::string, TConfigBlocoM>> casos;
  auto ds = Banco().Abrir(
      "SELECT E.CODIGOEMPRESA, E.CODIGOESTAB, E.SOCIEDADECONTAPARTICIPACAO, C.INDNATPJ FROM ESTAB E "
      "LEFT JOIN CFGEMPRESAFIS C ON C.CODIGOEMPRESA = E.CODIGOEMPRESA ORDER BY E.CODIGOEMPRESA, E.CODIGOESTAB");
  for (; !ds->Eof(); ds->Next()) {
    TConfigBlocoM c = Config(static_cast<int32_t>(ds->Fields(0).AsInteger()));
    c.IndNatPessoaJurid = ds->Fields(3).IsNull() ? "" : std::to_string(ds->Fields(3).AsInteger());
    const std::string empresa = "empresa " + std::to_string(c.CodigoEmpresa);
    if (casos.empty() || casos.back().second.CodigoEmpresa != c.CodigoEmpresa) casos.push_back({empresa, c});
    const bool scp = ds->Fields(2).AsString() == "1";
    c.ModoGeracao = scp ? TModoGeracao::mgSCP : TModoGeracao::mgFilial;
    c.CodigoEstab = c.CodigoEstabExtraApuracao = ds->Fields(1).AsString();
    casos.push_back({empresa, c});
  }
  ASSERT_GE(casos.size(), static_cast<size_t>(kPerfisDemo) * 2) << "empresa inteira e ao menos um estabelecimento";
  testing::internal::CaptureStderr();
  std::set<std::string> vistas, registros;
  for (const auto& [empresa, config] : casos) {
    SCOPED_TRACE(empresa + " estab '" + config.CodigoEstab + "'");
    std::vector<std::string> bloco;
    std::istringstream in(Rodar(config));
    for (std::string l; std::getline(in, l);) {
      if (!l.empty() && l.back() == '\r') l.pop_back();
      if (l.empty()) continue;
      bloco.push_back(l);
      registros.insert(l.substr(0, 6));
      if (l.rfind("|M205|12|810902|", 0) == 0) registros.insert("M205 do presumido");
      // Estorno maior que o crédito (devolução maior que a compra) deixaria o disponível negativo.
      if (l.rfind("|M100|", 0) == 0 || l.rfind("|M500|", 0) == 0) {
        EXPECT_FALSE(consistencia::Campos(l).at(11).starts_with('-')) << "VL_CRED_DISP negativo: " << l;
      }
    }
    auto erros = consistencia::ConferirLeiaute(bloco);
    for (const auto& e : consistencia::ConferirBlocoM(bloco)) erros.push_back(e);
    for (const auto& e : erros) {
      const auto chave = empresa + "|" + e.substr(0, e.find(':'));
      if (kDiferencasConhecidas.count(chave))
        vistas.insert(chave);
      else
        ADD_FAILURE() << e;
    }
  }
  // A demonstração é coerente: nenhuma dedução passa do que resta e todo crédito tem ordem.
  EXPECT_EQ(testing::internal::GetCapturedStderr().find("aviso"), std::string::npos);
  for (const auto& [chave, causa] : kDiferencasConhecidas)
    EXPECT_TRUE(vistas.count(chave)) << chave << " (" << causa << ") não acontece mais: tire da lista";
  // Os ramos que a demonstração precisa alcançar pelos lançamentos.
  for (const char* reg : {"|M100|", "|M105|", "|M110|", "|M115|", "|M205|", "|M210|", "|M211|", "|M215|", "|M220|",
                          "|M230|", "|M300|", "|M350|", "|M410|", "|M500|", "|M605|", "|M810|", "M205 do presumido"})
    EXPECT_TRUE(registros.count(reg)) << reg << " não aparece em nenhuma execução pelos lançamentos";
}

// O usuário é avisado pelo DoAviso da execução (no pisco, o stderr), com os valores, quando o bloco
// sai com valor a recolher negativo por deduções maiores que a contribuição, quando um crédito com
// saldo fica parado fora da ordem de compensação, quando um ajuste sem detalhe fica fora do bloco e
// quando só uma de duas exclusões de cooperativa do mesmo tipo de débito entra no M211.
TEST_P(BlocoMLctoDemo, AvisaDeducaoAlemDaContribuicaoCreditoForaDaOrdemEAjusteSemDetalhe) {
  TConfigBlocoM c = Config(1);
  std::string avisos;
  c.DoAviso = [&avisos](const std::string& AMensagem) { avisos += AMensagem + "\n"; };
  auto rodar = [&] {
    avisos.clear();
    testing::internal::CaptureStderr();
    Rodar(c);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "com DoAviso, nada vai para o stderr";
    return avisos;
  };
  Banco().Executar("DELETE FROM EFDORDEMCOMPCREDPERCENT WHERE CODIGOTABSPED = '4.3.06.101'");
  Banco().Executar("DELETE FROM EFDAJUSTEPISCOFINSDET WHERE CODIGOEMPRESA = 1 AND SEQAJUSTE = 2");
  for (int seq : {1, 2})
    Banco().Executar("INSERT INTO EFDEXCLUCOOP (CODIGOEMPRESA, CODIGOESTAB, DATALCTOFIS, SEQ, IMPOSTO, TIPOAPURACAO, "
                     "TIPODEBITO, INDTIPCOOP, VLEXCCOOPGER, VLEXCESPCOOP) VALUES (1, 1, '2024-01-28', " +
                     std::to_string(seq) + ", 15, 0, '4.3.05.01', 1, 100, 0)");
  std::string erro = rodar();
  for (const char* trecho :
       {"há mais de uma linha de exclusão de cooperativa de PIS para o tipo de apuração 0 e o tipo de débito "
        "4.3.05.01; só uma entra no M211",
        "o ajuste 2 do estabelecimento 1 (DIFERENÇA DE ALÍQUOTA DE PERÍODO ANTERIOR, R$ 9,03 de PIS) não tem linha de "
        "detalhe e fica fora do M220",
        "o crédito 4.3.06.101 de PIS", "não está na ordem de compensação da empresa (tabela 1)"})
    EXPECT_NE(erro.find(trecho), std::string::npos) << erro;
  EXPECT_EQ(erro.find("deduções diversas"), std::string::npos) << erro;

  // Deduções (3;1;2) antes de tudo: 13.200,00 + 26,71 da demonstração contra 13.062,90 devidos (sem
  // o ajuste de 9,03 que perdeu o detalhe e com 1,65 a menos pela exclusão de cooperativa de 100,00).
  Banco().Executar(
      "INSERT INTO EFDDEDUCOESDIVERSAS (CODIGOEMPRESA, CODIGOESTAB, DATALCTOFIS, SEQ, INDORIDED, VLDEDPIS, VLDEDCOFINS, "
      "VLBCOPER, TIPOAPURACAO, INDNATDED) VALUES (1, 1, '2024-01-26', 99, 1, 13200, 0, 0, 0, 0)");
  erro = rodar();
  EXPECT_NE(erro.find("empresa 1, 01/2024: as deduções diversas de PIS (R$ 13226,71) passam da contribuição não "
                      "cumulativa que restava a recolher (R$ 13062,90); o M200 sai com valor a recolher negativo"),
            std::string::npos)
      << erro;
  EXPECT_EQ(erro.find("deduções diversas de COFINS"), std::string::npos) << "a COFINS cabe: " << erro;
}

// Crédito guardado de um tipo de apuração (62) que não tem contribuição no mês: não há o que
// compensar, e a apuração desse tipo não aparece vazia na saída.
TEST_P(BlocoMLctoDemo, CreditoDeTipoSemContribuicaoNaoAbreApuracao) {
  Banco().Executar(
      "INSERT INTO EFDSALDOCOMPCRED (CODIGOEMPRESA, DATATOTAL, SEQ, IMPOSTO, TIPOAPURACAO, PERAPUCRED, ORIGCRED, CODCRED, "
      "ALIQIMPOSTO, VLCREDAPU, VLCREDEXTAPU, VLCREDDESCPAANT, VLCREDPERPAANT, VLCREDDCOMPPAANT, VLCREDDESCEFD, "
      "VLCREDPEREFD, VLCREDDCOMPEFD, VLCREDTRANS, VLCREDOUT, SLDCREDFIM) VALUES (1, '2023-12-01', 99, 15, 62, "
      "'2023-11-01', 1, '4.3.06.101', 1.65, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 100)");
  const auto saida = Rodar(Config(1), "json");
  const auto j = nlohmann::json::parse(saida);
  ASSERT_EQ(j.at("apuracoes").size(), 1u) << saida.substr(0, 400);
  EXPECT_EQ(j["apuracoes"][0]["TIPO_APURACAO"], 0);
}
