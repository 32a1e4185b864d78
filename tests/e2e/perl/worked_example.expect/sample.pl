#!/usr/bin/perl 



$false = 0;
$true = 1;

$count = 3;
$name="";
$total = 0;
loop:
printf("%i",$count);
$total += $count;
$count = $count - 1 ;

$flags[0] = $false;
$flags[1] = $false;
$flags[2] = $false;
$flags[3] = $false;
$flags[4] = $false;
$flags[5] = $false;
$flags[6] = $false;
if($count eq 0)
{
$flags[0] = $true;
}
if( $count >  0)
{
$flags[1] = $true;
}
if( $count >= 0)
{
$flags[2] = $true;
}
if( $count < 0)
{
$flags[3] = $true;
}
if( $count <= 0)
{
$flags[4] = $true;
}
if( $count ne 0)
{
$flags[5] = $true;
}
 if($flags[1] eq $true )
 { 
 goto loop;
}

chomp($name = <STDIN>);
 $stack[$stackpointer] = $count;
$stackpointer += 1;
 $stackpointer -= 1; 
$total = $stack[$stackpointer];
