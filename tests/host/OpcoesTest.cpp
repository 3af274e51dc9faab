// Objetos de opção: a linha em vigor na data definida, padrões e erros de empresa sem opção.
#include <gtest/gtest.h>

#include "fixtures/Servicos.h"
#include "base/MensagemErro.h"
#include "db/Demo.h"
#include "host/ControlesFiscais.h"
#include "host/LucroRealPresumido.h"
#include "host/OpcaoEFD.h"
#include "host/Servicos.h"

namespace {

class OpcoesTeste : public TServicosTeste {};

// Véspera e dia da troca: a linha nova vale a partir da própria data, cada coluna no seu getter.
TEST_P(OpcoesTeste, OpcaoEFDMudadaNoMeioDoAnoValeDaDataDeInicio) {
  OpcaoEFD(7, 1, "2023-01-01", 2,
           "INCTRIBUTARIA=1|ORDEMCOMPENSACAO='2;1;3'|ORDEMCOMPCREDEFD=1|CODTABCOMPCRED=4|PROPORCAORECCUM=0|"
           "CSTAJUSTECREDITO=50|CONTROLADIFERIMENTO=0|GERACAOF500F525=0|CODIGOIMPOSTOPISCUM=1111");
  OpcaoEFD(7, 1, "2024-07-01", 1,
           "INCTRIBUTARIA=3|ORDEMCOMPENSACAO='1,3'|ORDEMCOMPCREDEFD=2|CODTABCOMPCRED=9|PROPORCAORECCUM=1|"
           "CSTAJUSTECREDITO=56|CONTROLADIFERIMENTO=1|GERACAOF500F525=1|INDCREDAGRO=1|FORMACONTROLERETIDOS=2");
  // As colunas que a compensação, o diferimento e o bloco F leem são conferidas pelos testes deles;
  // aqui, a linha em vigor e as que só ela lê.
  // data; linha em vigor, regime, incidência, rateio cumulativo, CST de ajuste, código do PIS cumulativo
  using L = std::tuple<std::string, int, int, int, int, int>;
  const std::tuple<const char*, L, std::vector<TOrdemComp>> casos[] = {
      {"2024-06-30", {"2023-01-01", 2, 1, 0, 50, 1111}, {ocCompensarRetidos, ocCompensarCreditos, ocCompensarDeducoesDiversas}},
      {"2024-07-01", {"2024-07-01", 1, 3, 1, 56, 8109}, {ocCompensarCreditos, ocCompensarDeducoesDiversas}},
  };
  TnUtilOpcaoEFD& o = ControleOpcaoEFD();
  for (const auto& [data, linha, ordem] : casos) {
    o.Configurar(7, 1, D(data));
    EXPECT_TRUE(o.GetEhOptanteEFD()) << data;
    EXPECT_EQ(L(DataISO(o.GetDataEFD()), o.GetRegimeApuracao(), o.GetIncTributaria(), o.GetProporcaoRecCum(),
                o.GetCSTAjusteCredito(), o.GetCodigoImpostoPISCum()), linha);
    EXPECT_EQ(o.GetOrdemCompensacao(), ordem) << data;
  }
  // Sem complemento valem os padrões que a apuração usa.
  OpcaoEFD(8, 1, "2024-01-01", 9);
  o.Configurar(8, 1, D("2024-02-10"));
  EXPECT_EQ(o.GetIncTributaria(), 1);
  EXPECT_EQ(o.GetOrdemCompensacao(),
            (std::vector<TOrdemComp>{ocCompensarCreditos, ocCompensarRetidos, ocCompensarDeducoesDiversas}));
  EXPECT_EQ(o.GetCSTAjusteCredito(), 56);
}

TEST_P(OpcoesTeste, EmpresaSemOpcaoEFDNaoEhOptanteEGetterDaErroClaro) {
  OpcaoEFD(7, 1, "2024-01-01", 1);
  TnUtilOpcaoEFD& o = ControleOpcaoEFD();
  for (auto [empresa, data] : {std::pair{7, "2023-12-31"}, std::pair{8, "2024-05-01"}}) {
    o.Configurar(empresa, 1, D(data));
    EXPECT_FALSE(o.GetEhOptanteEFD());
    EXPECT_EQ(o.GetUltimoPeriodoApuradoComSldSCPNaOstensiva(), 0);
    const std::string m = MensagemDe<EOpcaoNaoCadastrada>([&] { o.GetIncTributaria(); });
    EXPECT_NE(m.find("não cadastradas para a empresa " + std::to_string(empresa)), std::string::npos) << m;
  }
  OpcaoEFD(9, 1, "2024-01-01", 1, "ORDEMCOMPENSACAO='1;x'");
  o.Configurar(9, 1, D("2024-01-31"));
  EXPECT_THROW(o.GetIncTributaria(), EEntradaInvalida);  // ordem ilegível é erro de cadastro
}

TEST_P(OpcoesTeste, EstabelecimentoSemLinhaPropriaUsaOMenorDaEmpresa) {
  OpcaoEFD(7, 1, "2024-01-01", 1, "INCTRIBUTARIA=1");
  OpcaoEFD(7, 3, "2024-01-01", 1, "INCTRIBUTARIA=2");
  OpcaoEFD(7, 3, "2024-03-01", 1, "OPTANTEEFD=0");
  TnUtilOpcaoEFD& o = ControleOpcaoEFD();
  o.Configurar(7, 2, D("2024-02-01"));
  EXPECT_EQ(o.GetIncTributaria(), 1);
  o.SetCodigoEstab(3);
  EXPECT_EQ(o.GetIncTributaria(), 2);
  EXPECT_TRUE(o.GetEhOptanteEFD());
  o.SetData(D("2024-03-01"));  // estab 3 deixou a EFD em março; o 2 segue a matriz
  EXPECT_FALSE(o.GetEhOptanteEFD());
  o.SetCodigoEstab(2);
  EXPECT_TRUE(o.GetEhOptanteEFD());
  // mesma chave: lido do cache até limpar
  Banco().Executar("UPDATE OPCAOEFDCOMPL SET INCTRIBUTARIA = 5 WHERE CODIGOESTAB = 1");
  EXPECT_EQ(o.GetIncTributaria(), 1);
  Host().Servicos().LimparCaches();
  EXPECT_EQ(o.GetIncTributaria(), 5);
}

TEST_P(OpcoesTeste, EstabelecimentosSCP) {
  Estab(7, 1, false);
  Estab(7, 4, true);
  Estab(7, 3, true);
  Estab(8, 1, false);
  TnUtilOpcaoEFD& o = ControleOpcaoEFD();
  o.Configurar(7, 1, D("2024-01-01"));
  EXPECT_TRUE(o.GetTemEstabSCPAtivo(D("2024-01-01"), D("2024-01-31")));
  EXPECT_EQ(Contar("SELECT COUNT(*) FROM ESTAB L WHERE " +
                   o.GetFiltroListaEstabSCP(D("2024-01-01"), D("2024-01-31"), "L.")),
            2);
  o.Configurar(8, 1, D("2024-01-01"));
  EXPECT_FALSE(o.GetTemEstabSCPAtivo(D("2024-01-01"), D("2024-01-31")));
  EXPECT_EQ(Contar("SELECT COUNT(*) FROM ESTAB WHERE " + o.GetFiltroListaEstabSCP(0, 0, "")), 0);
  EXPECT_THROW(o.GetFiltroListaEstabSCP(0, 0, "L;DROP"), EEntradaInvalida);
}

TEST_P(OpcoesTeste, LucroRealEPresumidoPelaLinhaEmVigor) {
  Banco().Executar(
      "INSERT INTO OPCAOLUCROREAL (CODIGOEMPRESA, DATAOPCAO, APURALUCROREAL, REGIMEAPURACAO, TIPOAPURACAO, "
      "APURAPIS, CODIGOIMPOSTOPISNCUM, VARIACAOPISNCUM, CODIGOIMPOSTOPISCUM, VARIACAOPISCUM, CSTAJUSTECREDITO, "
      "PROPORCAORECCUM) VALUES (7, :D1, 1, 1, 1, 1, 6912, 1, 8109, 2, 50, 0), "
      "(7, :D2, 1, 2, 2, 0, 6912, 5, 8109, 6, 56, 1), (7, :D3, 0, 3, 1, 1, NULL, NULL, NULL, NULL, NULL, NULL)",
      {VarDate(D("2023-01-01")), VarDate(D("2024-04-01")), VarDate(D("2025-01-01"))});
  TnUtilLucroReal& lr = ControleLucroReal();
  lr.SetCodigoEmpresa(7);
  // opção em vigor, apura, regime, tipo, CST de ajuste, rateio cumulativo, apura PIS, códigos e variações do PIS
  using L = std::tuple<std::string, bool, int, int, int, int, bool, std::vector<int>>;
  // véspera e dia da troca; a última linha tem colunas nulas (padrões)
  const std::pair<const char*, L> casos[] = {
      {"2024-03-31", {"2023-01-01", true, 1, 1, 50, 0, true, {6912, 1, 8109, 2}}},
      {"2024-04-01", {"2024-04-01", true, 2, 2, 56, 1, false, {6912, 5, 8109, 6}}},
      {"2025-02-28", {"2025-01-01", false, 3, 1, 56, 0, true, {6912, 1, 8109, 1}}}};
  for (const auto& [data, esperado] : casos) {
    TDateTime op = lr.ProcurarDataOpcao(D(data));
    int imp = 0, var = 0, impCum = 0, varCum = 0;
    const bool apuraPIS = lr.ApuraPIS(op, imp, var, impCum, varCum);
    EXPECT_EQ(L(DataISO(op), lr.ApuraLucroReal(op), lr.RegimeApuracao(op), lr.TipoApuracao(op), lr.CSTAjusteCredito(op),
                lr.ProporcaoRecCum(op), apuraPIS, {imp, var, impCum, varCum}),
              esperado) << data;
  }
  // Antes da primeira opção, ou empresa sem opção: não apura, e o que depende da linha é erro.
  for (auto [empresa, data] : {std::pair{7, "2022-12-31"}, std::pair{9, "2024-06-30"}}) {
    lr.SetCodigoEmpresa(empresa);
    EXPECT_EQ(lr.ProcurarDataOpcao(D(data)), 0);
    EXPECT_FALSE(lr.ApuraLucroReal(lr.ProcurarDataOpcao(D(data))));
    EXPECT_THROW(lr.RegimeApuracao(D(data)), EOpcaoNaoCadastrada);
  }

  Banco().Executar(
      "INSERT INTO OPCAOLUCROPRESUMIDO (CODIGOEMPRESA, DATAOPCAO, APURALUCROPRESUMIDO, TIPOAPURACAO, APURAPIS, "
      "APURACOFINS, CODIGOIMPOSTOCOFINS, VARIACAOCOFINS) VALUES (5, :D1, 1, 2, 1, 1, 2172, 3), (5, :D2, 0, 1, 1, 1, "
      "NULL, NULL)",
      {VarDate(D("2024-01-01")), VarDate(D("2024-09-01"))});
  TnUtilLucroPresumido& lp = ControleLucroPresumido();
  lp.SetCodigoEmpresa(5);
  TDateTime op = lp.ProcurarDataOpcao(D("2024-08-31"));
  int imp = 0, var = 0;
  const bool apuraCOFINS = lp.ApuraCOFINS(op, imp, var);
  EXPECT_EQ(std::make_tuple(DataISO(op), lp.ApuraLucroPresumido(op), lp.TipoApuracao(op), lp.RegimeApuracao(op),
                            apuraCOFINS, imp, var),
            std::make_tuple(std::string("2024-01-01"), true, 2, 3, true, 2172, 3));
  EXPECT_FALSE(lp.ApuraLucroPresumido(lp.ProcurarDataOpcao(D("2024-09-30"))));
  lp.SetCodigoEmpresa(6);
  EXPECT_EQ(lp.ProcurarDataOpcao(D("2024-09-30")), 0);
  EXPECT_THROW(lp.TipoApuracao(D("2024-09-30")), EOpcaoNaoCadastrada);
}

TEST_P(OpcoesTeste, IPIContribPatronalEConfig) {
  Banco().Executar("INSERT INTO OPCAOIPI (CODIGOEMPRESA, CODIGOESTAB, DATAINICIAL, APURAIPI) VALUES "
                   "(7, 1, :D1, 1), (7, 1, :D2, 0)",
                   {VarDate(D("2024-01-01")), VarDate(D("2024-06-01"))});
  // Sem empresa no controle de IPI, vale a empresa corrente das opções da EFD.
  ControleOpcaoEFD().Configurar(7, 2, D("2024-03-01"));
  EXPECT_TRUE(ControleIPI().GetApuraIPI());
  ControleOpcaoEFD().Configurar(7, 2, D("2024-06-01"));
  EXPECT_FALSE(ControleIPI().GetApuraIPI());
  ControleIPI().SetCodigoEmpresa(8);
  EXPECT_FALSE(ControleIPI().GetApuraIPI());

  // Contribuição patronal: coluna nula e data antes da linha valem os códigos padrão.
  Banco().Executar("INSERT INTO OPCAOCONTRIBPATRONAL (CODIGOEMPRESA, DATAINICIAL, CODIGOIMPOSTOTIC, "
                   "VARIACAOIMPOSTOTIC) VALUES (7, :D, 1234, 9)",
                   {VarDate(D("2024-01-01"))});
  TnUtilContribPatronal& cp = ControleContribPatronal();
  cp.SetCodigoEmpresa(7);
  cp.SetData(D("2024-01-31"));
  EXPECT_EQ(std::pair(cp.GetCodigoImpostoTIC(), cp.GetVariacaoImpostoTIC()), std::pair(1234, 9));
  EXPECT_EQ(cp.GetCodigoImpostoOUTROS(), 2991);
  cp.SetData(D("2023-12-31"));
  EXPECT_EQ(cp.GetCodigoImpostoTIC(), 2985);
  // configuração do sistema lida uma vez e guardada até limpar os caches
  EXPECT_FALSE(nConfig().ApuracaoImpostoPisCofinsArredondamento());
  Banco().Executar("INSERT INTO CONFIGSISTEMA (NOME, VALOR) VALUES ('ApuracaoImpostoPisCofinsArredondamento', '1')");
  Host().Servicos().LimparCaches();
  EXPECT_TRUE(nConfig().ApuracaoImpostoPisCofinsArredondamento());
}

PISCO_INSTANCIAR_BANCOS(OpcoesTeste);

}  // namespace

// Linhas de opção da demonstração: o que cada perfil recebe (nenhum outro teste nota um perfil
// que perde o seu ramo, como a empresa mista que não passa à incidência 3).
namespace {

class OpcoesDemo : public TServicosTeste {};

TEST_P(OpcoesDemo, CadaPerfilRecebeSuasOpcoes) {
  TDateTime jan = D("2024-01-01"), jul = D("2024-07-01");
  Banco().IniciarTransacao();
  GerarOpcoesDemo(Banco(), 1, TPerfilDemo::pdNaoCumulativo, jan);
  GerarOpcoesDemo(Banco(), 2, TPerfilDemo::pdPresumido, jan);
  GerarOpcoesDemo(Banco(), 3, TPerfilDemo::pdMisto, jul);
  GerarOpcoesDemo(Banco(), 5, TPerfilDemo::pdFinanceira, jan);
  Banco().Confirmar();
  // empresa, estabelecimento, data; optante, incidência, rateio cumulativo, diferimento
  const std::tuple<int, int, const char*, std::tuple<bool, int, int, bool>> efd[] = {
      {1, 2, "2024-01-31", {true, 1, 0, false}}, {3, 1, "2024-06-30", {true, 1, 0, false}},
      {3, 1, "2024-07-31", {true, 3, 1, true}},   // a mista passa à incidência 3 em julho
      {5, 1, "2024-01-31", {true, 2, 0, false}},  // o banco: só cumulativo, no lucro real (deduções do bloco I)
  };
  TnUtilOpcaoEFD& o = ControleOpcaoEFD();
  for (const auto& [empresa, estab, data, esperado] : efd) {
    o.Configurar(empresa, estab, D(data));
    EXPECT_EQ(std::make_tuple(o.GetEhOptanteEFD(), o.GetIncTributaria(), o.GetProporcaoRecCum(),
                              o.GetControlaDiferimento()),
              esperado) << empresa << " em " << data;
  }
  o.Configurar(1, 2, D("2024-01-31"));
  EXPECT_EQ(o.GetCodTabCompCred(), 1);
  EXPECT_TRUE(ControleIPI().GetApuraIPI());
  o.Configurar(2, 1, D("2024-01-31"));
  EXPECT_FALSE(o.GetEhOptanteEFD());

  TnUtilLucroReal& lr = ControleLucroReal();
  TnUtilLucroPresumido& lp = ControleLucroPresumido();
  const std::tuple<int, bool, bool, int> regimes[] = {{1, true, false, 1}, {2, false, true, 3}, {3, true, false, 2},
                                                      {5, true, false, 3}};
  for (auto [empresa, real, presumido, regime] : regimes) {
    SCOPED_TRACE(empresa);
    lr.SetCodigoEmpresa(empresa);
    lp.SetCodigoEmpresa(empresa);
    EXPECT_EQ(lr.ApuraLucroReal(lr.ProcurarDataOpcao(D("2024-07-31"))), real);
    EXPECT_EQ(lp.ApuraLucroPresumido(lp.ProcurarDataOpcao(D("2024-07-31"))), presumido);
    EXPECT_EQ(real ? lr.RegimeApuracao(D("2024-07-31")) : lp.RegimeApuracao(D("2024-07-31")), regime);
  }
}

PISCO_INSTANCIAR_BANCOS(OpcoesDemo);

}  // namespace
