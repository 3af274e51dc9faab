// Totais dos regimes de lucro real e presumido (caminho sem a EFD).
#include "db/demo/DemoEmpresa.h"

namespace demo {

void TGeradorEmpresa::Regimes() {
  auto gravar = [&](const char* tabela, int op, int64_t v1, int64_t v2, int64_t v3) {
    c(tabela, "CODIGOEMPRESA DATATOTAL CODIGOOPERACAOFIS VALORTOTAL1 VALORTOTAL2 VALORTOTAL3 VALORTOTAL4")
        .Linha({I(FEmpresa), D(FInicio), I(op), V(v1), V(v2), V(v3), V(0)});
    for (const auto& e : FEstabs)
      c(std::string(tabela) + "ESTAB",
        "CODIGOEMPRESA CODIGOESTAB DATATOTAL CODIGOOPERACAOFIS VALORTOTAL1 VALORTOTAL2 VALORTOTAL3 VALORTOTAL4")
          .Linha({I(FEmpresa), I(e.Codigo), D(FInicio), I(op), V(Parte(v1, 1, static_cast<int64_t>(FEstabs.size()))),
                  V(Parte(v2, 1, static_cast<int64_t>(FEstabs.size()))),
                  V(Parte(v3, 1, static_cast<int64_t>(FEstabs.size()))), V(0)});
  };
  auto& deb = c("DEBITOFEDERAL",
                "CODIGOEMPRESA CODIGOESTAB DATALCTOCTR SEQ CHAVEORIGEM CODIGOIMPOSTO VARIACAOIMPOSTO FORMADEBITO VALORDEBITO");
  if (Cumulativa()) {
    int64_t pis = FMovSaidaCum(15), cofins = FMovSaidaCum(16);
    const int64_t dedPis = s.Entre(1000, 5000), dedCofins = s.Entre(5000, 20000);
    gravar("TOTALLUCROPRESUMIDO", 107, 0, 0, dedPis);
    gravar("TOTALLUCROPRESUMIDO", 167, 0, 0, dedCofins);
    int64_t retPis = 0, retCofins = 0;
    for (int op : {97, 98}) {
      const int64_t v = s.Entre(500, 3000);
      retPis += v;
      gravar("TOTALLUCROPRESUMIDO", op, 0, 0, v);
    }
    for (int op : {157, 158}) {
      const int64_t v = s.Entre(2000, 12000);
      retCofins += v;
      gravar("TOTALLUCROPRESUMIDO", op, 0, 0, v);
    }
    if (FPerfil == TPerfilDemo::pdPresumido) {
      // Os débitos que a apuração do presumido gravou são o M200 que os lançamentos dão: M210
      // cumulativos, mais o acréscimo da ação judicial (M220 sobre o 51 a 0,65% e 3%), menos
      // retidos e deduções do regime. A redução da atividade imobiliária não tem M210 54 e fica
      // de fora.
      pis = ContribuicaoLancamentos(15, true, FExclusaoPresumido) + (TemLinhaDebito(15, "4.3.05.51", 6500) ? 1300 : 0) -
            retPis - dedPis;
      cofins = ContribuicaoLancamentos(16, true, FExclusaoPresumido) +
               (TemLinhaDebito(16, "4.3.05.51", 30000) ? 6000 : 0) - retCofins - dedCofins;
    }
    if (pis > 0) deb.Linha({I(FEmpresa), I(1), D(FFim), I(1), T("FI-PIS2006"), I(8109), I(2), I(0), V(pis)});
    if (cofins > 0) deb.Linha({I(FEmpresa), I(1), D(FFim), I(2), T("FI-COFINS2006"), I(2172), I(1), I(0), V(cofins)});
    c("LUCROPRESUMIDOPISPASEPFOLHA",
      "CODIGOEMPRESA CODIGOESTAB PERIODO ALIQUOTA TOTALFOLHA EXCLUSAO BASECALCULO VALORPISPASEP")
        .Linha({I(FEmpresa), I(1), D(FInicio), A(0), V(0), V(0), V(0), V(0)});
    auto& ret = c("TOTALLUCROPRESRETIDO",
                  "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ IMPOSTO INDNATRET PRRECRET VLRETAPU VLRETDED VLRETPER "
                  "VLRETDCOMP SLDRET");
    ret.Linha({I(FEmpresa), I(1), D(FInicio), I(1), I(15), I(3), D(FInicio + 5), V(1500), V(0), V(0), V(0), V(1500)});
    ret.Linha({I(FEmpresa), I(1), D(FInicio), I(2), I(16), I(3), D(FInicio + 5), V(7000), V(0), V(0), V(0), V(7000)});
    return;
  }
  // lucro real (as empresas da EFD também guardam os totais do regime)
  std::map<int, int64_t> dedNC, retNC, descMes, descAnt;  // por imposto
  // Sorteio do segundo valor antes do primeiro: é a ordem que o banco sempre teve.
  for (int op : {2191, 2192}) {
    const int64_t v2 = s.Entre(500, 4000), v1 = s.Entre(1000, 9000);
    dedNC[15] += v1;
    gravar("TOTALLUCROREAL", op, v1, v2, 0);
  }
  for (int op : {2491, 2492}) {
    const int64_t v2 = s.Entre(2000, 18000), v1 = s.Entre(5000, 40000);
    dedNC[16] += v1;
    gravar("TOTALLUCROREAL", op, v1, v2, 0);
  }
  for (int op : {2185, 2485}) {
    const int64_t nc = s.Entre(1000, 30000), cum = s.Entre(0, 9000);
    retNC[op == 2185 ? 15 : 16] = nc;
    // só não cumulativa: nenhum retido do regime cumulativo
    gravar("TOTALLUCROREAL", op, nc, FPerfil == TPerfilDemo::pdLucroRealSemEFD ? 0 : cum, 0);
  }
  if (FPerfil == TPerfilDemo::pdMisto)
    for (int op : {8027, 8160}) gravar("TOTALLUCROREAL", op, s.Entre(1000, 30000), 0, 0);
  auto& cs = c("TOTALLUCROREALCREDSPED",
               "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ IMPOSTO CODCRED PERAPUCRED ORIGCRED CNPJSUC ALIQIMPOSTO "
               "VLCREDAPU VLCREDEXTAPU VLCREDDESCPAANT VLCREDPERPAANT VLCREDDCOMPPAANT VLCREDDESCEFD VLCREDPEREFD "
               "VLCREDDCOMPEFD VLCREDTRANS VLCREDOUT");
  int seq = 0;
  for (int imposto : {15, 16})
    for (int meses : {0, 2}) {
      const int64_t apu = s.Entre(100000, 900000) * (imposto == 16 ? 4 : 1), desc = Parte(apu, 40, 100);
      (meses ? descAnt : descMes)[imposto] += desc;
      cs.Linha({I(FEmpresa), I(1), D(FInicio + 27), I(++seq), I(imposto), T("4.3.06.101"), D(IncMonth(FInicio, -meses)),
                I(1), N(), A(imposto == 15 ? 16500 : 76000), V(apu), V(0), V(0), V(0), V(0), V(desc), V(0), V(0), V(0),
                V(0)});
    }
  auto& rs = c("TOTALLUCROREALRETIDOSPED",
               "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ IMPOSTO INDNATRET PRRECRET TIPODEBITO VLRETAPU VLRETDED VLRETPER "
               "VLRETDCOMP SLDRET");
  rs.Linha({I(FEmpresa), I(1), D(FInicio + 27), I(1), I(15), I(1), D(FInicio + 10), T("4.3.05.01"), V(6500), V(0), V(0),
            V(0), V(6500)});
  rs.Linha({I(FEmpresa), I(1), D(FInicio + 27), I(2), I(16), I(1), D(FInicio + 10), T("4.3.05.01"), V(30000), V(0),
            V(0), V(0), V(30000)});
  int64_t debPis = s.Entre(100000, 900000), debCofins = s.Entre(400000, 3600000);
  if (FPerfil == TPerfilDemo::pdLucroRealSemEFD) {
    // Fora da opção da EFD os débitos gravados pela apuração do lucro real são o M200 dos
    // lançamentos: M210 não cumulativos e os acréscimos de contribuição, menos os créditos do mês
    // e de meses anteriores descontados, os retidos e as deduções do regime.
    auto devido = [&](int imposto) {
      int64_t acrescimo = 0;
      for (const auto& a : FAjustes)
        if (a.Tipo == 1) acrescimo += imposto == 15 ? a.Pis : a.Cofins;
      return ContribuicaoLancamentos(imposto, false, 0) + acrescimo - descMes[imposto] - descAnt[imposto] -
             retNC[imposto] - dedNC[imposto];
    };
    debPis = devido(15);
    debCofins = devido(16);
  }
  if (debPis > 0) deb.Linha({I(FEmpresa), I(1), D(FFim), I(1), T("FI-LRPIS2006"), I(6912), I(1), I(0), V(debPis)});
  if (debCofins > 0)
    deb.Linha({I(FEmpresa), I(1), D(FFim), I(2), T("FI-LRCOFINS2006"), I(5856), I(1), I(1), V(debCofins)});
}

}  // namespace demo
