#include "credits/CreditosFixture.h"

#include <utility>

#include "base/DateTime.h"
#include "host/OpcaoEFD.h"
#include "host/Servicos.h"

void TCreditosTeste::SetUp() {
  TServicosTeste::SetUp();
  if (IsSkipped() || HasFatalFailure()) return;
  Estab(1, 1, false);
  Estab(1, 2, false);
}

void TCreditosTeste::Opcao(const std::string& AExtras) {
  Banco().Executar("DELETE FROM OPCAOEFD WHERE CODIGOEMPRESA = 1");
  Banco().Executar("DELETE FROM OPCAOEFDCOMPL WHERE CODIGOEMPRESA = 1");
  OpcaoEFD(1, 1, "2023-01-01", 2, "OPTANTEEFD=1|CODTABCOMPCRED=1" + (AExtras.empty() ? "" : "|" + AExtras));
}

void TCreditosTeste::MudarOpcao(const std::string& AColuna, const std::string& AValor) {
  Banco().Executar("UPDATE OPCAOEFDCOMPL SET " + AColuna + " = " + AValor + " WHERE CODIGOEMPRESA = 1");
  Host().Servicos().LimparCaches();
}

TConfigBlocoM TCreditosTeste::Config(TModoGeracao AModo, const std::string& AEstab) const {
  TConfigBlocoM c;
  c.CodigoEmpresa = 1;
  c.CodigoEstab = AEstab;
  c.CodigoEstabExtraApuracao = AEstab;
  CompetenciaParaPeriodo("2024-01", c.DataInicial, c.DataFinal);
  c.ModoGeracao = AModo;
  return c;
}

std::unique_ptr<TnFisEFDControleCredito> TCreditosTeste::Controle(TModoGeracao AModo, const std::string& AEstab) {
  auto cc = std::make_unique<TnFisEFDControleCredito>();
  const TConfigBlocoM c = Config(AModo, AEstab);
  ControleOpcaoEFD().Configurar(1, EstabComoInteiro(AEstab), c.DataInicial);
  cc->SetConfigBlocoM(c);
  return cc;
}

void TCreditosTeste::TabelaOrdem(int AForma) {
  Linha("EFDORDEMCOMPCRED").I("CODTABSPEDCOMPCRED", 1).T("DESCRICAO", "TESTE").I("FORMACOMPENSACAO", AForma).Gravar();
}

void TCreditosTeste::OrdemTipo(int AChave, const std::string& ACodigo, double APercentual) {
  Linha("EFDORDEMCOMPCREDPERCENT").I("CODTABSPEDCOMPCRED", 1).I("CODTABSPEDCOMPCREDPERCENT", AChave)
      .T("CODIGOTABSPED", ACodigo).V("PERCENTCOMP", APercentual).Gravar();
}

void TCreditosTeste::OrdemAliq(int AChave, int AOrdem, double AAliqPIS, double AAliqCOFINS) {
  Linha("EFDORDEMCOMPCREDALIQ").I("CODTABSPEDCOMPCRED", 1).I("CODTABSPEDCOMPCREDPERCENT", AChave).I("ORDEM", AOrdem)
      .V("ALIQPIS", AAliqPIS).V("ALIQCOFINS", AAliqCOFINS).Gravar();
}

void TCreditosTeste::SaldoCred(const std::string& ATabela, const std::string& AColunaData, const std::string& AData,
                               const TSaldoCred& s, int AEstab, int ATipoCred, double ASldFim) {
  auto l = Linha(ATabela);
  l.I("CODIGOEMPRESA", 1).D(AColunaData, AData).I("SEQ", ++FSeq).I("IMPOSTO", s.Imposto);
  if (ATabela != "EFDSALDOCOMPCRED") l.I("CODIGOESTAB", AEstab);
  if (ATabela != "TOTALLUCROREALCREDSPED") l.I("TIPOAPURACAO", s.TipoApuracao);
  if (ATipoCred >= 0) l.I("TIPOCREDSPED", ATipoCred);
  if (ASldFim >= 0) l.V("SLDCREDFIM", ASldFim);
  if (!s.CNPJSuc.empty()) l.T("CNPJSUC", s.CNPJSuc);
  l.D("PERAPUCRED", s.PerApu).I("ORIGCRED", s.OrigCred).T("CODCRED", s.CodCred).V("ALIQIMPOSTO", s.Aliq)
      .V("VLCREDAPU", s.Apu).V("VLCREDEXTAPU", 0).V("VLCREDDESCPAANT", s.DescPaAnt).V("VLCREDPERPAANT", s.PerPaAnt)
      .V("VLCREDDCOMPPAANT", s.DCompPaAnt).V("VLCREDDESCEFD", s.DescEfd).V("VLCREDPEREFD", s.PerEfd)
      .V("VLCREDDCOMPEFD", s.DCompEfd).V("VLCREDTRANS", 0).V("VLCREDOUT", 0).Gravar();
}

void TCreditosTeste::SaldoRet(const std::string& ATabela, const std::string& AColunaData, const std::string& AData,
                              const TSaldoRet& s, int AEstab) {
  auto l = Linha(ATabela);
  l.I("CODIGOEMPRESA", 1).D(AColunaData, AData).I("SEQ", ++FSeq).I("IMPOSTO", s.Imposto);
  if (ATabela != "EFDSALDORETIDO") l.I("CODIGOESTAB", AEstab);
  if (ATabela != "TOTALLUCROPRESRETIDO") l.T("TIPODEBITO", s.TipoDebito);
  if (ATabela == "EFDSALDORETIDO" || ATabela == "EFDSALDORETIDOESTAB")
    l.V("VLDIFERIDOAPU", s.Diferido).V("VLDIFERIRAPU", s.Diferir);
  l.I("INDNATRET", s.IndNatRet).D("PRRECRET", s.PrRecRet).V("VLRETAPU", s.Apu).V("VLRETDED", s.Ded)
      .V("VLRETPER", s.Per).V("VLRETDCOMP", s.DComp).V("SLDRET", s.Apu - s.Ded - s.Per - s.DComp).Gravar();
}

TDadosCredito TCreditosTeste::Credito(int AImposto, const std::string& ACodigo, const std::string& APerApu,
                                      double AAliq, double AValor, TM100_500CreditoImposto* ARegistro) {
  TDadosCredito c;
  c.IMPOSTO = AImposto;
  c.ORIGCRED = 1;
  c.DATATOTAL = ISOParaData("2024-01-01");
  c.PERAPUCRED = ISOParaData(APerApu);
  c.CODCRED = ACodigo;
  c.ALIQIMPOSTO = AAliq;
  c.VLCREDAPU = AValor;
  c.RegM100_500 = ARegistro;
  return c;
}

TDadosRetido TCreditosTeste::Retido(const std::string& APrRecRet, const std::string& ATipo, double AValor,
                                    const std::string& ADataTotal) {
  TDadosRetido r;
  r.IMPOSTO = 15;
  r.INDNATRET = 1;
  r.PRRECRET = ISOParaData(APrRecRet);
  r.DATATOTAL = ISOParaData(ADataTotal);
  r.TIPODEBITO = ATipo;
  r.VLRETAPU = AValor;
  return r;
}

std::unique_ptr<TM100_500CreditoImposto> TCreditosTeste::RegistroCredito(double ABase, double AAliq) {
  auto r = std::make_unique<TM100_500CreditoImposto>();
  r->FCOD_CRED = "101";
  r->FALIQ = AAliq;
  auto det = std::make_unique<TM105_505DetalheBCCredito>();
  det->FCST = 52;
  det->FVL_BC = ABase;
  r->FM105_505List.Add("00001", std::move(det));
  return r;
}

std::unique_ptr<TM200_600ConsolidContribImposto> TCreditosTeste::RegistroContrib(double AContNC, double AContCum,
                                                                                double ABaseNaoCompRet) {
  auto m = std::make_unique<TM200_600ConsolidContribImposto>(nullptr);
  for (const auto& [chave, cod, cont] : {std::tuple{"00001", "01", AContNC}, std::tuple{"00002", "51", AContCum}}) {
    auto d = std::make_unique<TM210_610DetalheContrib>();
    d->FCOD_CONT = cod;
    d->FALIQ = 10;
    d->FVL_BC_CONT = cont * 10;
    if (d->FCOD_CONT == "01") d->FVlBctNCompRet = ABaseNaoCompRet;
    m->FM210_610List.Add(chave, std::move(d));
  }
  return m;
}
