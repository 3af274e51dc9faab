// Carga dos livros de créditos e de retidos: junção das fontes, eventos, pagamentos,
// ressarcimentos declarados, guarda da SCP e a ligação com o contexto da execução.
#include <gtest/gtest.h>

#include <algorithm>

#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "credits/CreditosFixture.h"
#include "base/DateTime.h"
#include "host/OpcaoEFD.h"
#include "host/Servicos.h"

namespace {
class CargaCreditos : public TCreditosTeste {};

TDadosRetido ChaveRetido(int AImposto, const std::string& AData, int ANat, const std::string& ATipo) {
  TDadosRetido r;
  r.IMPOSTO = static_cast<int16_t>(AImposto);
  r.PRRECRET = ISOParaData(AData);
  r.INDNATRET = static_cast<int16_t>(ANat);
  r.TIPODEBITO = ATipo;
  return r;
}
}  // namespace

TEST_P(CargaCreditos, SaldoInicialEInstantaneoAnteriorViramUmaLinha) {
  Opcao();
  TSaldoCred s;
  s.Apu = 1000;
  s.DescPaAnt = 100;
  s.DescEfd = 50;
  // O mesmo crédito no saldo inicial informado e no controle de dezembro.
  SaldoCred("EFDSALDOCOMPCREDINICIAL", "DATALCTOFIS", "2023-12-01", s, 1, 0);
  TSaldoCred anterior = s;
  anterior.Apu = 400;
  anterior.DescPaAnt = 0;
  anterior.DescEfd = 30;
  anterior.PerEfd = 20;
  SaldoCred("EFDSALDOCOMPCRED", "DATATOTAL", "2023-12-01", anterior, 1, -1, 350);
  // Linha zerada do controle anterior (sem saldo final) não entra.
  TSaldoCred zerado = s;
  zerado.CodCred = "4.3.06.201";
  SaldoCred("EFDSALDOCOMPCRED", "DATATOTAL", "2023-12-01", zerado, 1, -1, 0);
  // Compensação declarada no período soma ao uso do período.
  TSaldoCred comp = s;
  comp.Apu = 0;
  comp.DescPaAnt = 0;
  comp.DescEfd = 0;
  comp.DCompEfd = 70;
  SaldoCred("EFDSALDOCOMPCREDINICIAL", "DATALCTOFIS", "2024-01-01", comp, 1, 1);
  // Saldo inicial de outro estabelecimento: a carga sempre filtra o estabelecimento.
  SaldoCred("EFDSALDOCOMPCREDINICIAL", "DATALCTOFIS", "2023-12-01", zerado, 2, 0);

  auto cc = Controle(TModoGeracao::mgEmpresa, "1");
  cc->CarregarCreditosPeriodo();
  ASSERT_EQ(cc->GetLstCredito().Count(), 1u);
  const TDadosCreditoObj& l = *cc->GetLstCredito().begin()->second;
  EXPECT_EQ(cc->GetLstCredito().begin()->first, "15|0|20230601|20230601|1||4.3.06.101|1.65");
  EXPECT_DOUBLE_EQ(l.VLCREDAPU, 1400);
  EXPECT_DOUBLE_EQ(l.VLCREDDESCPAANT, 100 + 50 + 30);  // tudo o que as origens usaram
  EXPECT_DOUBLE_EQ(l.VLCREDPERPAANT, 20);
  EXPECT_DOUBLE_EQ(l.VLCREDDESCEFD, 0);
  EXPECT_DOUBLE_EQ(l.VLCREDDCOMPEFD, 70);
  EXPECT_DOUBLE_EQ(l.SLDCREDFIM(), 1400 - 180 - 20 - 70);
  EXPECT_DOUBLE_EQ(l.DATATOTAL, ISOParaData("2023-12-01"));  // a primeira fonte cria a linha
  // Só a linha do controle anterior traz um M100 (vazio).
  ASSERT_EQ(l.LstRegM100_500.size(), 1u);
  EXPECT_DOUBLE_EQ(l.LstRegM100_500[0]->GetVL_CRED_DISP(), 0);

  // Recarregar reconstrói do banco em vez de somar de novo.
  cc->CarregarCreditosPeriodo();
  EXPECT_DOUBLE_EQ(cc->GetLstCredito().begin()->second->VLCREDAPU, 1400);
}

TEST_P(CargaCreditos, InstantaneoAnteriorPorModo) {
  Opcao();
  TSaldoCred s;
  s.Apu = 100;
  SaldoCred("EFDSALDOCOMPCRED", "DATATOTAL", "2023-12-01", s, 1, -1, 100);
  s.Apu = 7;
  SaldoCred("EFDSALDOCOMPCREDESTAB", "DATATOTAL", "2023-12-01", s, 1, -1, 7);
  s.Apu = 9;
  SaldoCred("EFDSALDOCOMPCREDESTAB", "DATATOTAL", "2023-12-01", s, 2, -1, 9);
  struct Caso {
    TModoGeracao Modo;
    std::string Estab;
    double Esperado;
  };
  for (const Caso& c : {Caso{TModoGeracao::mgEmpresa, "", 100}, Caso{TModoGeracao::mgFilial, "2", 9},
                        Caso{TModoGeracao::mgFilial, "1-2", 16}}) {
    SCOPED_TRACE("estab " + c.Estab);
    auto cc = Controle(c.Modo, c.Estab);
    cc->CarregarCreditosPeriodo();
    ASSERT_EQ(cc->GetLstCredito().Count(), 1u);
    EXPECT_DOUBLE_EQ(cc->GetLstCredito().begin()->second->VLCREDAPU, c.Esperado);
  }
}

TEST_P(CargaCreditos, EventosDeFusaoECisao) {
  Opcao();
  auto evento = [&](int estab, const std::string& data, const std::string& cnpj, double pis, double cofins) {
    Linha("EFDCREDITOEVENTOINCFUSCIS")
        .I("CODIGOEMPRESA", 1)
        .I("CODIGOESTAB", estab)
        .D("DATALCTOFIS", data)
        .I("SEQ", ++FSeq)
        .D("PERAPUCRED", "2023-10-01")
        .T("CODIGOTABSPED", "4.3.06.101")
        .T("INSCRFEDERAL", cnpj)
        .I("TIPOAPURACAO", 0)
        .V("VALORCREDTRANSFPIS", pis)
        .V("VALORCREDTRANSFCOFINS", cofins)
        .Gravar();
  };
  evento(1, "2024-01-01", "11111111000111", 30, 140);  // uma linha de cada tributo
  evento(1, "2024-01-01", "22222222000122", 15, 0);    // só PIS
  evento(1, "2024-01-01", "33333333000133", -5, 0);    // nenhuma
  evento(1, "2024-02-01", "44444444000144", 99, 99);   // outro período
  evento(2, "2024-01-01", "55555555000155", 99, 99);   // outro estabelecimento
  auto cc = Controle(TModoGeracao::mgEmpresa, "1");
  cc->CarregarCreditosPeriodo();
  std::vector<std::string> chaves;
  for (const auto& [k, obj] : cc->GetLstCredito()) chaves.push_back(k + "=" + std::to_string(int(obj->VLCREDAPU)));
  // A consulta não ordena: compara-se o conjunto.
  std::sort(chaves.begin(), chaves.end());
  const std::vector<std::string> esperado{"15|0|20231001|20231001|0|11111111000111|4.3.06.101|0=30",
                                          "15|0|20231001|20231001|0|22222222000122|4.3.06.101|0=15",
                                          "16|0|20231001|20231001|0|11111111000111|4.3.06.101|0=140"};
  EXPECT_EQ(chaves, esperado);
}

TEST_P(CargaCreditos, PagamentoRepartidoPelaBaseDasLinhas) {
  Opcao();
  // Documento 10: três linhas de PIS/COFINS com bases 100, 100 e 200; documento 11: uma linha.
  auto linhaPC = [&](int chave, int seq, const std::string& tipo, double base) {
    Linha("LCTOFISSAIPISCOFINS")
        .I("CODIGOEMPRESA", 1)
        .I("CODIGOESTAB", 1)
        .I("CHAVELCTOFISSAI", chave)
        .I("CODIGOPRODUTO", 1)
        .I("SEQ", seq)
        .D("DATALCTOFIS", "2024-01-05")
        .T("TIPODEBITO", tipo)
        .V("BASECALCULOPISCOFINS", base)
        .Gravar();
  };
  auto documento = [&](int chave, int estab) {
    Linha("LCTOFISSAI").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", estab).I("CHAVELCTOFISSAI", chave).D("DATALCTOFIS", "2024-01-05").Gravar();
    Linha("LCTOFISSAIRETIDO").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", estab).I("CHAVELCTOFISSAI", chave).D("DATALCTOFIS", "2024-01-05").I("TIPORETENCAO", 3).Gravar();
  };
  auto pagamento = [&](int chave, int estab, int tipo, const std::string& data, double valor) {
    Linha("LCTOFISSAIRETIDOPAGAMENTO")
        .I("CODIGOEMPRESA", 1)
        .I("CODIGOESTAB", estab)
        .I("CHAVELCTOFISSAI", chave)
        .I("TIPOIMPOSTO", tipo)
        .I("SEQ", ++FSeq)
        .D("DATAPAGAMENTO", data)
        .V("VALOR", valor)
        .Gravar();
  };
  documento(10, 1);
  linhaPC(10, 1, "4.3.05.01", 100);
  linhaPC(10, 2, "4.3.05.02", 100);
  linhaPC(10, 3, "4.3.05.51", 200);
  pagamento(10, 1, 24, "2024-01-20", 40);
  pagamento(10, 1, 25, "2024-01-20", 80);
  pagamento(10, 1, 24, "2024-02-02", 999);  // fora do período
  documento(11, 2);
  linhaPC(11, 1, "4.3.05.01", 50);
  pagamento(11, 2, 24, "2024-01-21", 7);  // outro estabelecimento
  documento(12, 1);  // duas linhas: o pago também se reparte
  linhaPC(12, 1, "4.3.05.01", 30);
  linhaPC(12, 2, "4.3.05.51", 10);
  pagamento(12, 1, 24, "2024-01-22", 8);

  for (const std::string estab : {"1", "1,2"}) {
    SCOPED_TRACE("estab " + estab);
    auto cc = Controle(TModoGeracao::mgFilial, estab);
    cc->CarregarRetidosPeriodo();
    std::vector<std::string> linhas;
    for (const auto& [k, r] : cc->GetLstCredRetido())
      linhas.push_back(k + "=" + std::to_string(r.VLRETAPU).substr(0, 5));
    std::vector<std::string> esperado{"15|20240120|3|4.3.05.01=10.00", "15|20240120|3|4.3.05.02=10.00",
                                      "15|20240120|3|4.3.05.51=20.00", "16|20240120|3|4.3.05.01=20.00",
                                      "16|20240120|3|4.3.05.02=20.00", "16|20240120|3|4.3.05.51=40.00",
                                      "15|20240122|3|4.3.05.01=6.000", "15|20240122|3|4.3.05.51=2.000"};
    if (estab == "1,2") esperado.push_back("15|20240121|3|4.3.05.01=7.000");  // documento de uma linha: todo o pago
    std::sort(linhas.begin(), linhas.end());
    std::sort(esperado.begin(), esperado.end());
    EXPECT_EQ(linhas, esperado);
    for (const auto& [k, r] : cc->GetLstCredRetido()) EXPECT_DOUBLE_EQ(r.DATATOTAL, ISOParaData("2024-01-01"));
  }
}

TEST_P(CargaCreditos, RessarcimentosDeclaradosComESemLinhaDeRetido) {
  Opcao();
  TSaldoRet r;
  r.Apu = 100;
  r.Diferido = 3;
  SaldoRet("EFDSALDORETIDOINICIAL", "DATALCTOFIS", "2023-12-01", r);
  TSaldoRet ant;
  ant.PrRecRet = "2023-10-15";
  ant.TipoDebito = "4.3.05.01";
  ant.Apu = 50;
  ant.Ded = 10;
  ant.Diferido = 4;
  ant.Diferir = 6;
  SaldoRet("EFDSALDORETIDO", "DATATOTAL", "2023-12-01", ant);
  TSaldoRet usado = ant;  // sem saldo: não entra
  usado.PrRecRet = "2023-09-15";
  usado.Ded = 50;
  SaldoRet("EFDSALDORETIDO", "DATATOTAL", "2023-12-01", usado);
  auto declarado = [&](int seq, const std::string& retencao, const std::string& tipo, double rest, double comp) {
    Linha("EFDSALDORETIDOCOMP")
        .I("CODIGOEMPRESA", 1)
        .I("CODIGOESTAB", 1)
        .D("DATALCTOFIS", "2024-01-01")
        .I("SEQ", seq)
        .I("IMPOSTO", 15)
        .I("INDNATRET", 1)
        .D("DATARETENCAO", retencao)
        .T("TIPODEBITO", tipo)
        .V("VLRETUTILREST", rest)
        .V("VLRETUTILCOMP", comp)
        .Gravar();
  };
  declarado(7, "2023-11-10", "4.3.05.51", 30, 20);
  declarado(8, "2023-11-11", "4.3.05.51", 1, 1);  // data que não existe no livro
  declarado(9, "2023-10-15", "4.3.05.52", 1, 1);  // tipo que não existe no livro
  auto cc = Controle();
  cc->CarregarRetidosPeriodo();
  ASSERT_EQ(cc->GetLstCredRetido().Count(), 2u);
  const TDadosRetido* ini = cc->GetLstCredRetido().Procurar(TnFisEFDControleCredito::GetChave(
      ChaveRetido(15, "2023-11-10", 1, "4.3.05.51")));
  ASSERT_NE(ini, nullptr);
  EXPECT_DOUBLE_EQ(ini->VLRETPER, 30);
  EXPECT_DOUBLE_EQ(ini->VLRETDCOMP, 20);
  EXPECT_DOUBLE_EQ(ini->SLDRET(), 50);
  const TDadosRetido* anterior =
      cc->GetLstCredRetido().Procurar(TnFisEFDControleCredito::GetChave(ChaveRetido(15, "2023-10-15", 1, "4.3.05.01")));
  ASSERT_NE(anterior, nullptr);
  EXPECT_DOUBLE_EQ(anterior->SLDRET(), 40);
  // Na ordem da consulta (data da retenção): a 9 é de outubro, a 8 de novembro.
  EXPECT_EQ(cc->MontarListaRetidoNaoEncontrado(), (std::vector<std::string>{"9", "8"}));
}

TEST_P(CargaCreditos, GuardaDaSCPComSaldoNaOstensiva) {
  // Último período com o saldo da SCP na ostensiva: dezembro cobre o mês anterior (nada do
  // controle anterior nem do declarado); novembro não cobre.
  for (const auto& [ultimo, carrega] : std::vector<std::pair<std::string, bool>>{{"'2023-12-01'", false},
                                                                                  {"'2023-11-01'", true}}) {
    SCOPED_TRACE(ultimo);
    Banco().Executar("DELETE FROM OPCAOEFD");
    Banco().Executar("DELETE FROM OPCAOEFDCOMPL");
    Banco().Executar("DELETE FROM EFDSALDOCOMPCREDESTAB");
    Banco().Executar("DELETE FROM EFDSALDOCOMPCREDINICIAL");
    Banco().Executar("DELETE FROM EFDSALDORETIDOESTAB");
    Banco().Executar("DELETE FROM EFDSALDORETIDOINICIAL");
    Banco().Executar("DELETE FROM EFDSALDORETIDOCOMP");
    Opcao("ULTPERSLDSCPOSTENSIVA=" + ultimo);
    TSaldoCred s;
    s.Apu = 10;
    SaldoCred("EFDSALDOCOMPCREDINICIAL", "DATALCTOFIS", "2023-12-01", s, 3, 0);
    s.Apu = 5;
    SaldoCred("EFDSALDOCOMPCREDESTAB", "DATATOTAL", "2023-12-01", s, 3, -1, 5);
    TSaldoRet r;
    r.Apu = 10;
    SaldoRet("EFDSALDORETIDOINICIAL", "DATALCTOFIS", "2023-12-01", r, 3);
    r.PrRecRet = "2023-08-01";
    SaldoRet("EFDSALDORETIDOESTAB", "DATATOTAL", "2023-12-01", r, 3);
    Linha("EFDSALDORETIDOCOMP").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 3).D("DATALCTOFIS", "2024-01-01").I("SEQ", 5).I("IMPOSTO", 15).I("INDNATRET", 1).D("DATARETENCAO", "2023-11-10").T("TIPODEBITO", "4.3.05.51").V("VLRETUTILREST", 4).V("VLRETUTILCOMP", 0).Gravar();

    auto cc = Controle(TModoGeracao::mgSCP, "3");
    cc->CarregarCreditosPeriodo();
    cc->CarregarRetidosPeriodo();
    ASSERT_EQ(cc->GetLstCredito().Count(), 1u);
    EXPECT_DOUBLE_EQ(cc->GetLstCredito().begin()->second->VLCREDAPU, carrega ? 15 : 10);
    EXPECT_EQ(cc->GetLstCredRetido().Count(), carrega ? 2u : 1u);
    const TDadosRetido* ini = cc->GetLstCredRetido().Procurar(
        TnFisEFDControleCredito::GetChave(ChaveRetido(15, "2023-11-10", 1, "4.3.05.51")));
    ASSERT_NE(ini, nullptr);
    EXPECT_DOUBLE_EQ(ini->VLRETPER, carrega ? 4 : 0);
  }
}

TEST_P(CargaCreditos, ContextoCarregaSoParaOptanteEConformeOsCreditos) {
  TSaldoCred s;
  s.Apu = 10;
  SaldoCred("EFDSALDOCOMPCREDINICIAL", "DATALCTOFIS", "2023-12-01", s, 1, 0);
  TSaldoRet r;
  r.Apu = 10;
  SaldoRet("EFDSALDORETIDOINICIAL", "DATALCTOFIS", "2023-12-01", r, 1);
  struct Caso {
    bool Optante;
    bool Creditos;
    size_t NumCreditos, NumRetidos;
  };
  for (const Caso& c : {Caso{false, true, 0, 0}, Caso{true, false, 0, 1}, Caso{true, true, 1, 1}}) {
    SCOPED_TRACE(std::to_string(c.Optante) + std::to_string(c.Creditos));
    Banco().Executar("DELETE FROM OPCAOEFD");
    Banco().Executar("DELETE FROM OPCAOEFDCOMPL");
    Host().Servicos().LimparCaches();
    if (c.Optante) Opcao();
    TMapaAberturaBloco mapa;
    TnFisEFDControleBlocoM ctx;
    ctx.FConfigBlocoM = Config(TModoGeracao::mgFilial, "1");
    ctx.FLstRegistroM001 = &mapa;
    ctx.FDeveProcessarCreditos = c.Creditos;
    ControleOpcaoEFD().Configurar(1, 1, ctx.FConfigBlocoM.DataInicial);
    ctx.CarregarControleCredito();
    EXPECT_EQ(ctx.GetControleCredito()->GetLstCredito().Count(), c.NumCreditos);
    EXPECT_EQ(ctx.GetControleCredito()->GetLstCredRetido().Count(), c.NumRetidos);
  }
}

TEST_P(CargaCreditos, InserirCreditoSomaEListaCadaRegistroUmaVez) {
  auto cc = Controle();
  auto r1 = RegistroCredito(100, 10);
  auto r2 = RegistroCredito(100, 10);
  cc->InserirCredito(Credito(15, "4.3.06.101", "2024-01-01", 1.65, 10, r1.get()));
  cc->InserirCredito(Credito(15, "4.3.06.101", "2024-01-01", 1.65, 20, r1.get()));
  cc->InserirCredito(Credito(15, "4.3.06.101", "2024-01-01", 1.65, 5, nullptr));
  cc->InserirCredito(Credito(15, "4.3.06.101", "2024-01-01", 1.65, 1, r2.get()));
  cc->InserirCredito(Credito(15, "4.3.06.101", "2024-01-01", 0.65, 1, nullptr));  // outra alíquota
  ASSERT_EQ(cc->GetLstCredito().Count(), 2u);
  const auto& l = *cc->GetLstCredito().begin()->second;
  EXPECT_DOUBLE_EQ(l.VLCREDAPU, 36);
  EXPECT_EQ(l.LstRegM100_500, (std::vector<TM100_500CreditoImposto*>{r1.get(), r2.get()}));
  TDadosCredito limpo = Credito(15, "X", "2024-01-01", 1, 1, r1.get());
  TnFisEFDControleCredito::LimparDadosCredito(limpo);
  EXPECT_EQ(limpo.RegM100_500, nullptr);
  EXPECT_EQ(TnFisEFDControleCredito::GetChave(limpo), "0|0|18991230|18991230|0|||0");
}

PISCO_INSTANCIAR_BANCOS(CargaCreditos);
