// Totais já apurados da EFD, calculados como os registros os calculam.
#include "db/demo/DemoEmpresa.h"

namespace demo {

void TGeradorEmpresa::TotaisEFD() {
  std::vector<int> estabs = {0};
  for (const auto& e : FEstabs) estabs.push_back(e.Codigo);
  int seqMov = 0;
  for (int estab : estabs) {
    for (int imposto : {15, 16}) TotaisImposto(estab, imposto);
    // movimento totalizado só por estabelecimento (a tabela já guarda o estabelecimento)
    if (estab == 0) continue;
    auto& mov = c("TOTALEFDMOV",
                  "CODIGOEMPRESA CODIGOESTAB DATATOTAL SEQ TIPOIMPOSTO CST CODIGOTABSPED CODIGOCFOP TIPOLCTO VALORTOTAL "
                  "BASECALCULO VALORCONTRIB");
    for (const auto& [k, v] : FMov)
      if (std::get<0>(k) == estab)
        mov.Linha({I(FEmpresa), I(estab), D(FInicio), I(++seqMov), I(std::get<1>(k)), I(std::get<2>(k)), T(std::get<3>(k)),
                   I(std::get<5>(k)), I(std::get<4>(k)), V(v.Total), V(v.Base), V(v.Tributo)});
  }
}

void TGeradorEmpresa::TotaisImposto(int estab, int imposto) {
  const std::string sufixo = estab ? "ESTAB" : "";
  const std::string pre = estab ? "CODIGOEMPRESA CODIGOESTAB " : "CODIGOEMPRESA ";
  auto chave = [&](int seq) {
    TParams p = {I(FEmpresa)};
    if (estab) p.push_back(I(estab));
    p.push_back(D(FInicio));
    p.push_back(I(imposto));
    p.push_back(I(seq));
    return p;
  };
  auto mais = [](TParams p, std::initializer_list<TVariant> resto) {
    p.insert(p.end(), resto.begin(), resto.end());
    return p;
  };
  const bool todos = estab == 0;

  // créditos: por código (regime + classe) e alíquota, detalhados por natureza e CST
  std::map<std::tuple<std::string, int64_t>, TLinhaCred> creds;
  for (const auto& [k, v] : FCreditos) {
    const auto& [est, imp, natureza, cst, aliq, classe] = k;
    if (imp != imposto || (!todos && est != estab)) continue;
    for (const auto& [regime, fracao] : Rateio(cst)) {
      const std::string codigo = std::string("4.3.06.") + regime + classe;
      auto& lc = creds[{codigo, aliq}];
      lc.Codigo = codigo;
      lc.Aliq4 = aliq;
      lc.PorUnidade = classe == "03";
      const int64_t base = Parte(v.Base, fracao, 1000000);
      const int64_t quant = Parte(v.Quantidade * 1000, fracao, 1000000);
      // O imobiliário (109) guarda o crédito; os demais o registro recalcula da base.
      if (classe == "09") lc.Credito += Parte(v.Tributo, fracao, 1000000);
      auto it = std::find_if(lc.Dets.begin(), lc.Dets.end(),
                             [&](const TLinhaCred::TDet& d) { return d.Natureza == natureza && d.CST == cst; });
      if (it == lc.Dets.end()) lc.Dets.push_back({natureza, cst, v.Base, base, v.Quantidade * 1000, quant});
      else it->BaseTot += v.Base, it->Base += base, it->QuantTot += v.Quantidade * 1000, it->Quant += quant;
    }
  }
  // Crédito como o M100 o calcula: base do M105 (a total nos CSTs de receita única) x
  // alíquota, ou quantidade x valor por unidade, arredondado uma vez.
  for (auto& [k, lc] : creds) {
    if (lc.Codigo.size() >= 2 && lc.Codigo.compare(lc.Codigo.size() - 2, 2, "09") == 0) continue;
    int64_t base = 0, quant = 0;
    for (const auto& d : lc.Dets) {
      const bool receitaUnica = d.CST == 50 || d.CST == 51 || d.CST == 60 || d.CST == 61 || d.CST == 62;
      base += receitaUnica ? d.BaseTot : d.Base;
      quant += d.Quant;
    }
    lc.Credito = lc.PorUnidade ? Parte(quant * lc.Aliq4, 1, 1000 * 100) : Tributo(base, lc.Aliq4);
  }
  // débitos
  struct TLinhaDeb {
    std::string Tipo;
    int64_t Aliq4;
    bool PorUnidade;
    TSoma Soma;
  };
  std::map<std::tuple<std::string, int64_t, bool>, TLinhaDeb> debs;
  for (const auto& [k, v] : FDebitos) {
    const auto& [est, imp, tipo, aliq, porUnidade] = k;
    if (imp != imposto || (!todos && est != estab)) continue;
    auto& ld = debs[{tipo, aliq, porUnidade}];
    ld.Tipo = tipo;
    ld.Aliq4 = aliq;
    ld.PorUnidade = porUnidade;
    ld.Soma.Somar(v.Total, v.Base, v.Tributo, v.Quantidade);
  }
  int64_t contNC = 0, contCum = 0, creditos = 0;
  bool reduziu = false;
  for (const auto& [k, d] : debs) {
    // A redução da base (M215) vai na primeira linha do código 01, como na gravação abaixo.
    int64_t reducao = 0;
    if (d.Tipo == "4.3.05.01" && !reduziu) {
      reduziu = true;
      if (todos || estab == 1) reducao = FAjusteBC;
    }
    const int64_t v = d.PorUnidade ? Parte(d.Soma.Quantidade * d.Aliq4, 1, 100) : Tributo(d.Soma.Base - reducao, d.Aliq4);
    (d.Tipo < "4.3.05.50" ? contNC : contCum) += v;
  }
  int64_t diferir = 0, diferido = 0;
  // A venda a órgão público é tributada à alíquota do regime da empresa.
  const int64_t aliqDif = Cumulativa() ? (imposto == 15 ? 6500 : 30000) : (imposto == 15 ? 16500 : 76000);
  for (const auto& d : FDiferido)
    if (todos || d.Estab == estab) {
      if (d.Anterior) diferido += Tributo(d.Base, imposto == 15 ? 6500 : 30000);
      else diferir += Tributo(Parte(d.Base, d.Aberto, d.Aberto + d.Recebido), aliqDif);
    }
  // Com controle de diferimento (só a empresa só cumulativa), o M210 cumulativo tira o que foi
  // diferido (M230) e soma o diferido de meses anteriores recebido agora (M300).
  const bool temCum = std::any_of(debs.begin(), debs.end(), [](const auto& d) { return d.second.Tipo == "4.3.05.51"; });
  if (FPerfil == TPerfilDemo::pdCumulativoDiferido && temCum) contCum += diferido - diferir;
  for (const auto& [k, lc] : creds) creditos += lc.Credito;
  int64_t ajusteCred = 0, ajusteCont = 0;
  if (todos || estab == 1)
    for (const auto& a : FAjustes) (a.Tipo == 0 ? ajusteCred : ajusteCont) += imposto == 15 ? a.Pis : a.Cofins;
  creditos = std::max<int64_t>(0, creditos - ajusteCred);
  // O acréscimo de contribuição vai no M210 01; a empresa só cumulativa não o tem, e os
  // lançamentos não têm onde pô-lo.
  const bool temNC01 = std::any_of(debs.begin(), debs.end(), [](const auto& d) { return d.second.Tipo == "4.3.05.01"; });
  if (temNC01) contNC += ajusteCont;
  int64_t retido = 0;
  for (const auto& [k, v] : FRetido)
    if (k.second == imposto && (todos || k.first == estab)) retido += v;
  const int64_t dedNC = todos || estab == 1 ? FDeducao.count({imposto, 0}) ? FDeducao.at({imposto, 0}) : 0 : 0;
  const int64_t dedCum = todos || estab == 1 ? FDeducao.count({imposto, 1}) ? FDeducao.at({imposto, 1}) : 0 : 0;
  // Ordem de compensação da opção da empresa: a não cumulativa deduz antes dos créditos
  // (3;1;2), as outras por último (1;2;3).
  const bool deducoesPrimeiro = FPerfil == TPerfilDemo::pdNaoCumulativo;
  const int64_t outNC = deducoesPrimeiro ? std::min(dedNC, contNC) : 0;
  const int64_t descontado = std::min(creditos, contNC - outNC);
  const int64_t retNC = std::min(retido, contNC - outNC - descontado);
  const int64_t outNCFim = deducoesPrimeiro ? outNC : std::min(dedNC, contNC - descontado - retNC);
  const int64_t recNC = contNC - descontado - retNC - outNCFim;
  const int64_t retCum = std::min(retido - retNC, contCum);
  const int64_t outCum = std::min(dedCum, contCum - retCum);
  const int64_t recCum = contCum - retCum - outCum;

  c("TOTALEFD" + sufixo,
    pre + "DATATOTAL TIPOIMPOSTO SEQ VLTOTCONTNCPER VLTOTCREDDESC VLTOTCREDDESCANT VLTOTCONTNCDEV VLRETNC VLOUTDEDNC "
          "VLCONTNCREC VLTOTCONTCUMPER VLRETCUM VLOUTDEDCUM VLDIFERIDOCUM VLDIFERIRCUM")
      .Linha(mais(chave(1), {V(contNC), V(descontado), V(0), V(contNC - descontado), V(retNC), V(outNCFim), V(recNC),
                             V(contCum), V(retCum), V(outCum), V(diferido), V(diferir)}));

  auto& tc = c("TOTALEFDCRED" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ TIPOCREDITO INDCREDORI ALIQ ALIQQUANT VLCRED "
                                              "VLCREDDIF VLCREDDESC");
  auto& td = c("TOTALEFDCREDDET" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ SEQCRED TIPOCREDITO CST VLBCTOT VLBCCUM "
                                                 "VLBCNCUM VLBC QUANTBCTOT QUANTBC DESCCRED");
  int seqCred = 0, seqDet = 0, seqCred101 = 0;
  int64_t aDescontar = descontado;
  for (const auto& [k, lc] : creds) {
    ++seqCred;
    int64_t disponivel = lc.Credito;
    if (lc.Codigo == "4.3.06.101" && !seqCred101) {
      seqCred101 = seqCred;
      // os ajustes de crédito (M110) ficam neste registro e reduzem o que ele tem a descontar
      if (todos || estab == 1) disponivel = std::max<int64_t>(0, disponivel - ajusteCred);
    }
    const int64_t desc = std::min(aDescontar, disponivel);
    aDescontar -= desc;
    tc.Linha(mais(chave(seqCred), {T(lc.Codigo), I(0), A(lc.PorUnidade ? 0 : lc.Aliq4), A(lc.PorUnidade ? lc.Aliq4 : 0),
                                   V(lc.Credito), V(0), V(desc)}));
    for (const auto& d : lc.Dets)
      td.Linha(mais(chave(++seqDet), {I(seqCred), T(d.Natureza), I(d.CST), V(d.BaseTot), V(0), V(d.BaseTot - d.Base),
                                      V(d.Base), Q(d.QuantTot), Q(d.Quant), d.Natureza == "4.3.07.13" ? T("OUTRAS OPERAÇÕES") : N()}));
  }

  auto& tdb = c("TOTALEFDDEBITO" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ TIPODEBITO VLRRECBRT VLBCCONT ALIQ QUANTBC "
                                                 "VLAJUSACRESBCPISCOFINS VLAJUSREDUCBCPISCOFINS VLBCCONTAJUS");
  int seqDeb = 0, seqDebNC = 0, seqDebCum = 0;
  int64_t baseDebNC = 0;
  for (const auto& [k, d] : debs) {
    ++seqDeb;
    if (d.Tipo == "4.3.05.01" && !seqDebNC) {
      seqDebNC = seqDeb;
      baseDebNC = d.PorUnidade ? 0 : d.Soma.Base;
    }
    if (d.Tipo == "4.3.05.51" && !seqDebCum) seqDebCum = seqDeb;
    const int64_t reducao = d.Tipo == "4.3.05.01" && seqDebNC == seqDeb && (todos || estab == 1) ? FAjusteBC : 0;
    tdb.Linha(mais(chave(seqDeb), {T(d.Tipo), V(d.Soma.Total), V(d.PorUnidade ? 0 : d.Soma.Base), A(d.Aliq4),
                                   I(d.PorUnidade ? d.Soma.Quantidade : 0), V(0), V(reducao),
                                   V(d.PorUnidade ? 0 : d.Soma.Base - reducao)}));
  }

  auto& pag = c("TOTALEFDDEBPAGAR" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ NUMCAMPO CODREC VLDEBITO");
  if (recNC > 0) pag.Linha(mais(chave(1), {T("08"), T(imposto == 15 ? "691201" : "585601"), V(recNC)}));
  if (recCum > 0) pag.Linha(mais(chave(2), {T("12"), T(imposto == 15 ? "810902" : "217201"), V(recCum)}));

  auto& ise = c("TOTALEFDISENTAS" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ CST CODCTA DESCCOMPL TIPODEBITO VLREC");
  int seqIse = 0;
  std::map<std::tuple<int, std::string, std::string>, int64_t> isentas;
  for (const auto& [k, v] : FIsentas) {
    const auto& [est, imp, cst, tipo, conta] = k;
    if (imp == imposto && (todos || est == estab)) isentas[{cst, tipo, conta}] += v.Total;
  }
  for (const auto& [k, v] : isentas)
    ise.Linha(mais(chave(++seqIse), {I(std::get<0>(k)), T(std::get<2>(k)), N(), T(std::get<1>(k)), V(v)}));

  if ((todos || estab == 1) && seqCred101 && seqDebNC) {
    auto& aj = c("TOTALEFDAJUSTE" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ SEQCREDDEB TIPOAJUSTE INDAJ VLAJ CODAJ NUMDOC "
                                                  "DESCRAJ DTREF");
    auto& ad = c("TOTALEFDAJUSTEDET" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ SEQAJUSTE CST DETBCCRED DETALIQ DETVALORAJ "
                                                     "DTOPERAJ DESCAJ CODCTA INFOCOMPL");
    int seqAj = 0;
    for (const auto& a : FAjustes) {
      ++seqAj;
      const int64_t valor = imposto == 15 ? a.Pis : a.Cofins;
      aj.Linha(mais(chave(seqAj), {I(a.Tipo == 0 ? seqCred101 : seqDebNC), I(a.Tipo), T(a.Indicador), V(valor),
                                   T(a.Codigo), T(a.NumDoc), T(a.Descricao), D(FInicio + a.Dia)}));
      if (a.Base)
        ad.Linha(mais(chave(seqAj), {I(seqAj), I(a.CSTDet), V(a.Base), A(imposto == 15 ? 16500 : 76000), V(valor),
                                     D(FInicio + a.Dia), T(a.DescDet), T(a.ContaDet), T(a.InfoDet)}));
    }
    if (FAjusteBC)
      c("TOTALEFDAJUSTEBC" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ SEQDEB INDAJBC VLAJBC CODAJBC NUMDOC DESCRAJBC DTREF "
                                           "CODCTA CNPJ INFOCOMPL")
          .Linha(mais(chave(1), {I(seqDebNC), I(0), V(FAjusteBC), T("4.3.18.01"), T("0012345-67.2019.4.03.6100"),
                                 T("EXCLUSÃO DO ICMS DESTACADO"), D(FInicio + 27), T("3.1.1.01.001"), N(), N()}));
    // A composição da cooperativa parte da base antes das exclusões: o M211 devolve a base do M210.
    if (FCoop.first)
      c("TOTALEFDEXCLUCOOP" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ SEQDEB INDTIPCOOP VLBCCONTANTEXCCOOP VLEXCCOOPGER "
                                            "VLEXCESPCOOP")
          .Linha(mais(chave(1), {I(seqDebNC), I(1), V(baseDebNC + FCoop.first + FCoop.second), V(FCoop.first),
                                 V(FCoop.second)}));
  }
  // Diferimento: no débito não cumulativo; na empresa só cumulativa, no cumulativo.
  const int seqDebDif = seqDebNC ? seqDebNC : seqDebCum;
  if ((todos || estab == 1) && seqDebDif && (seqCred101 || !seqDebNC)) {
    auto& inf = c("TOTALEFDINFADICDIFERIDO" + sufixo,
                  pre + "DATATOTAL TIPOIMPOSTO SEQ SEQDEB TIPOCREDITO CNPJ VLVEND VLNAORECEB VLCONTDIF VLCREDDIF");
    auto& ant = c("TOTALEFDDIFERIDOPERANT" + sufixo, pre + "DATATOTAL TIPOIMPOSTO SEQ SEQDEB TIPODEBITO NATCREDDESC PERAPUR "
                                                           "DTRECEB VLCONTAPURDIFER VLCREDDESCDIFER");
    int seqInf = 0, seqAnt = 0;
    for (const auto& d : FDiferido) {
      if (!todos && d.Estab != estab) continue;
      if (d.Anterior)
        ant.Linha(mais(chave(++seqAnt), {I(seqDebDif), T(seqDebNC ? "4.3.05.01" : "4.3.05.51"), T(""),
                                         T(FormatDateTime("mmyyyy", d.Dia)), D(FInicio + 4), V(Tributo(d.Base, aliqDif)),
                                         V(0)}));
      else if (d.Aberto > 0)
        inf.Linha(mais(chave(++seqInf), {I(seqDebDif), N(), T(CNPJ(60000000, 1)), V(d.Aberto + d.Recebido), V(d.Aberto),
                                         V(Tributo(Parte(d.Base, d.Aberto, d.Aberto + d.Recebido), aliqDif)), V(0)}));
    }
  }
}

}  // namespace demo
